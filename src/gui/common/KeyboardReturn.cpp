#include "KeyboardReturn.h"

#include <QTimer>
#include <QWidget>

namespace KeyboardReturn {

namespace {

// After xfwm4 has passed the focus on (50 ms was enough in every try), and
// before the user's next key.
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
