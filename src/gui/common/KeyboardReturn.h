#pragma once

class QWidget;

namespace KeyboardReturn {

// Hands the keyboard back to `window` as a dialog over it closes. Nobody
// else does where there is no window manager; and xfwm4 at times gives the
// focus to another program's window below the closed dialog after it has
// taken the request: so it is asked again a moment later. Nothing happens
// to a hidden or minimised window.
void to(QWidget* window);

} // namespace KeyboardReturn
