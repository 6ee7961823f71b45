#pragma once

#include <functional>

// Qt ends the program by itself when the display connection breaks: on X
// with exit(1), which runs no destructor, on Wayland with _exit(1), which
// runs nothing at all. Both warn first. While this lives, `save` runs on
// that warning, or else from exit(), once, so that what was typed is kept.
class LastSave {
public:
    explicit LastSave(std::function<void()> save);
    ~LastSave();
    LastSave(const LastSave&) = delete;
    LastSave& operator=(const LastSave&) = delete;
};
