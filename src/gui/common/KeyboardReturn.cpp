#include "KeyboardReturn.h"

#include <QTimer>
#include <QWidget>

namespace KeyboardReturn {

namespace {

// After a window manager such as xfwm4 has passed the focus on, and before
// the user's next key.
constexpr int kWindowManagerPassedFocusMs = 100;

void activate(QWidget* window)
{
    if (window->isVisible() && !window->isMinimized()) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace

void to(QWidget* window)
{
    if (!window)
        return;
    activate(window);
    QTimer::singleShot(kWindowManagerPassedFocusMs, window, [window] { activate(window); });
}

} // namespace KeyboardReturn
