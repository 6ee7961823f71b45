#pragma once

#include <cstdint>
#include <vector>

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
    // Asks the X server for the names of the hints without waiting: the
    // answers have come by the time the window is first shown, so that no
    // round trip to the server holds up its map.
    X11WindowHints();
    ~X11WindowHints();
    X11WindowHints(const X11WindowHints&) = delete;
    X11WindowHints& operator=(const X11WindowHints&) = delete;

    // To be called while the window is about to be mapped, before Qt maps
    // it: window managers read both hints when they take a window on, and Qt
    // keeps the window states it finds on an unmapped window.
    void beforeMap(const QWidget& window, bool inTray);

    // To be called when the window has been shown again right after it was
    // hidden, as a change of flags does. A window manager busy elsewhere
    // withdraws the window only after the new states were given for its map,
    // and then clears them: staying on top and, with a tray, keeping out of
    // the taskbar are asked for once more, the way a mapped window asks.
    void repeatStates(const QWidget& window, bool inTray);

    // Unrolls a window the window manager rolled up into its title bar,
    // which Qt knows nothing of: showing the window must show its page.
    void unshade(const QWidget& window);

    // Sends what Qt has asked of the X server so far rather than when the
    // program next waits: a window just shown is framed and mapped by the
    // window manager while the program goes on starting.
    static void sendNow();

private:
    const std::vector<std::uint32_t>& holeAtome();

    // The requests for the names' atoms, until their answers are read.
    std::vector<unsigned int> pendingAtoms;
    std::vector<std::uint32_t> atoms;
    // The native window last given the hints.
    std::uint32_t hintedWindow = 0;
};
