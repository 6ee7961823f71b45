#pragma once

class Printing;
class Shell;
class TrayIcon;
class UserDialogs;

// What the windows reach of the desktop, each behind a seam of its own so
// that tests can put recording fakes in their place.
struct Desktop {
    UserDialogs& dialogs;
    TrayIcon& tray;
    Printing& printing;
    Shell& shell;
};
