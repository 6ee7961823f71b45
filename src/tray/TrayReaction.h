#pragma once

// What the user did to the tray icon, as the tray host reports it.
enum class TrayActivation { Click, DoubleClick, Context, MiddleClick, Other };

// Who shows the icon. StatusNotifier hosts (KDE, GNOME's AppIndicator
// extension, Wayland desktops) talk D-Bus and never report a double click.
enum class TrayHost { None, Classic, StatusNotifier };

enum class TrayReaction { Nothing, ShowWindow, OpenMenu };

// A double click shows the window and the right button opens the menu; on a
// StatusNotifier host the user's double click arrives as a plain click, so
// there, and only there, a click shows the window.
TrayReaction trayReaction(TrayActivation activation, TrayHost host);
