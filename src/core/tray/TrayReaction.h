#pragma once

// What the user did to the tray icon, as the tray host reports it.
enum class TrayActivation { Click, DoubleClick, Context, MiddleClick, Other };

// Who shows the icon. StatusNotifier hosts (KDE, GNOME's AppIndicator
// extension, Wayland desktops) talk D-Bus and never report a double click.
enum class TrayHost { None, Classic, StatusNotifier };

enum class TrayReaction { Nothing, ShowWindow };

// A double click shows the window; on a StatusNotifier host the user's double
// click arrives as a plain click, so there, and only there, a click shows the
// window. The right button is the tray host's: it opens the icon's own menu,
// so the program must not open it a second time.
TrayReaction trayReaction(TrayActivation activation, TrayHost host);
