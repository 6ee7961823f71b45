#pragma once

#include <cstdint>

class QPushButton;
class WindowGeometry;

// Changes a window's height in small steps, so that it rolls down to show
// more and up again; the button that starts a roll is blocked while it runs.
class WindowRoll {
public:
    WindowRoll(WindowGeometry& geometry, QPushButton& button);

    // The window has ended, perhaps while a roll let other events run: the
    // roll stops and leaves it alone from now on.
    void stop() { stopped = true; }
    bool hasStopped() const { return stopped; }

    void rollUp(std::int16_t minHeight);
    void rollDown(std::int16_t maxHeight);
    // The rest of a roll to the outer height `target`, the button still
    // blocked: whole steps leave less than one step over.
    void finish(float target);

    // The arguments of rollUp and rollDown that take the window as near
    // `target` as whole steps go.
    std::int16_t minHeightFor(float target) const;
    std::int16_t maxHeightFor(float target) const;

private:
    void rolle(std::int16_t step);

    WindowGeometry& geometry;
    QPushButton& button;
    bool stopped = false;
};
