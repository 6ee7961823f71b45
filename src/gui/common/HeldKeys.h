#pragma once

#include <QObject>
#include <map>

class QKeyEvent;

// Tells a key pressed anew from a held key that the keyboard repeats. Under
// X11 a repeat may arrive as a release and a press of the same moment, which
// Qt does not always mark as a repeat.
class HeldKeys : public QObject {
    Q_OBJECT

public:
    // Starts watching the application's keys; once is enough.
    static void watch();
    // Whether the key press being handled now repeats a held key.
    static bool repeating();
    bool isRepeat(const QKeyEvent* event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit HeldKeys(QObject* parent);

    std::map<int, quint64> releasedAt;
    bool current = false;
};
