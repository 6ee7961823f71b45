#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own while Qt
// connects to the display. The first text laid out needs it, and reading it
// on the main thread holds the window back by a noticeable part of the
// start-up; with a second core the window no longer waits for it. Where the
// platform's fonts need no such reading, nothing is started.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Before Qt first asks for a font: two readings at once would each do the
    // whole work.
    void wait();

private:
    std::thread reader;
};
