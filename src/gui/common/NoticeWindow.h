#pragma once

#include <QEvent>
#include <QString>
#include <QWidget>

class QVBoxLayout;

// What the program says by itself, not in answer to what the person just
// did: a file that changed elsewhere, a save between times that failed. The
// notices stand in a small window of their own beside the main window, which
// never takes the keyboard from the page or from another program, so no
// typing goes into it or closes it. Each stays until it is closed; one of
// the same kind takes the place of the one before.
class NoticeWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMostShown = 3;

    explicit NoticeWindow(QWidget& owner);

    // Shows `text`, plain, under `kind`; with `goesAfterMs`, it goes by
    // itself after that long.
    void post(const QString& kind, const QString& text, int goesAfterMs = 0);
    int count() const;
    QString textOf(int index) const;
    // Closes the notice of `kind`, if there is one.
    void dismiss(const QString& kind);

    // Stands just below the owner's frame, or above where the screen ends;
    // shown with the owner and hidden with it, which it follows by itself.
    void follow();
    // Ctrl+Tab from the main window: the keyboard goes to the newest notice,
    // where Enter or Escape closes it.
    bool takeKeyboard();

signals:
    // Whether any notice is waiting to be read.
    void waitingChanged(bool waiting);
    // The keyboard goes back to the main window.
    void keyboardReturned();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* findeArt(const QString& kind) const;
    void schliesse(QWidget* notice);
    void sageAn(QWidget* notice);
    void zeigeWennNoetig();
    void folgeBesitzer(QEvent::Type type);

    QWidget& owner;
    // Only Ctrl+Tab brings the keyboard here; a click gives it straight back.
    bool keyboardAsked = false;
    QVBoxLayout* rows = nullptr;
    bool ownerVisible = false;
};
