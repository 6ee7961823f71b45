#include "StatusNotifierWatch.h"

// Without a session bus there is no StatusNotifier host to follow.

StatusNotifierWatch::StatusNotifierWatch(QObject* parent)
    : QObject(parent)
{}

bool StatusNotifierWatch::running()
{
    return false;
}

void StatusNotifierWatch::follow() {}
