#include "X11WindowHints.h"

// Without X11 there are no such hints: Qt's window flags are all there is.

X11WindowHints::X11WindowHints() = default;

X11WindowHints::~X11WindowHints() = default;

const std::vector<std::uint32_t>& X11WindowHints::holeAtome()
{
    return atoms;
}

void X11WindowHints::beforeMap(const QWidget&, bool) {}

void X11WindowHints::sendNow() {}

void X11WindowHints::repeatStates(const QWidget&, bool) {}

void X11WindowHints::unshade(const QWidget&) {}
