// Without X11 there is no classic tray to watch.
#include "X11TrayOwnerWatch.h"

X11TrayOwnerWatch::X11TrayOwnerWatch(QObject* parent)
    : QObject(parent)
{}

X11TrayOwnerWatch::~X11TrayOwnerWatch() = default;

bool X11TrayOwnerWatch::nativeEventFilter(const QByteArray&, void*, qintptr*)
{
    return false;
}

void X11TrayOwnerWatch::frageBesitzer() {}
