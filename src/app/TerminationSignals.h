#pragma once

#include <functional>

class QObject;

// Turns the signals by which a desktop or a user asks a program to end
// (SIGTERM, SIGINT, SIGHUP, and SIGPWR where there is one) into a call of `end` from the event loop, so that
// the program ends in its orderly way. Nothing is done in the signal handler
// itself but waking the event loop.
void endOnTerminationSignals(QObject* owner, std::function<void()> end);
