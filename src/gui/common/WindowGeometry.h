#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QTimer>

class QScreen;
class QWidget;

// A window's place and size in twips, as its designer gave them, and its
// place on the screen: at the designed place where it fits there, moved in
// where it does not, and kept where the user put it.
class WindowGeometry : public QObject {
    Q_OBJECT

public:
    // `clientLeft` and `clientTop` are the designed place of the client area.
    WindowGeometry(QWidget& window, int clientLeft, int clientTop);

    // The outer frame in twips.
    float left() const;
    float top() const;
    float width() const;
    float height() const;
    void move(float left, float top, float width, float height);

    // Puts the client area of `clientWidth` x `clientHeight` twips at its
    // designed place, and follows the screens from then on.
    void placeAtDesignedPlace(int clientWidth, int clientHeight);
    // The outer height, in twips, of a client area of `clientTwips`.
    float outerHeight(int clientTwips) const;
    // Keeps the place and size it was given against anyone else's.
    void keepPlace();

protected:
    // Follows the window's show and move events.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void gezeigt();
    void bewegt();
    // The window manager's frame: the outer size less the client area.
    QSize messeRahmen() const;
    void beobachteBildschirm(QScreen* screen);
    void passeEinSpaeter();
    void passeEin();
    QPoint berechneOrt() const;

    QWidget& window;
    const int clientLeft;
    const int clientTop;
    // The place of the frame and the size of the client area last set by
    // move, in twips; -1 until then.
    float setLeft = -1;
    float setTop = -1;
    float setClientWidth = -1;
    float setClientHeight = -1;
    // Where the window was last put on its screen (client area, pixels): a
    // window found elsewhere was moved there by the user and stays there.
    QPoint fittedPlace;
    bool movedByUser = false;
    // Since the window was last shown or framed anew: moves this soon after
    // are the window manager's taking it, not the user's.
    QElapsedTimer sinceTaken;
    static constexpr qint64 kTakingMs = 2000;
    // The window manager's frame as last seen; it comes after the window.
    QSize knownFrame;
    // Runs the fit once a change of frame has settled.
    QTimer frameSettled;
};
