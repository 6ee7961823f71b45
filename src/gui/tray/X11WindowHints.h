#pragma once

class QWidget;

// What X11 window managers read, beyond Qt's window flags, to give the main
// window its title bar and its place in the taskbar. Qt asks through the
// Motif hints for the close box only, which openbox ignores: it takes the
// buttons from the window type alone, and only a toolbar window loses the
// minimise and maximise boxes there. And Qt says nothing to taskbars about a
// tool window, which xfce4-panel's tasklist therefore lists. Does nothing
// outside X11.
class X11WindowHints {
public:
    // To be called while the window is about to be mapped, before Qt maps
    // it: window managers read both hints when they take a window on, and Qt
    // keeps the window states it finds on an unmapped window.
    static void beforeMap(const QWidget& window, bool inTray);

    // Sends what Qt has asked of the X server so far rather than when the
    // program next waits: a window just shown is framed and mapped by the
    // window manager while the program goes on starting.
    static void sendNow();
};
