#pragma once

#include "core/desktop/UserDialogs.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Answers questions as told and remembers every box it was asked to show.
class RecordingDialogs : public UserDialogs {
public:
    struct Box {
        std::string title;
        std::string text;
        bool question = false;
        Icon icon = Icon::None;
    };

    bool answer = true;
    std::vector<Box> boxes;
    // Runs once, while the next box is up: a real box runs the event loop,
    // and timers and file watches fire behind it.
    std::function<void()> whileShown;

    bool askYesNo(const std::string& title, const std::string& text) override
    {
        boxes.push_back({title, text, true, Icon::None});
        if (auto behind = std::exchange(whileShown, nullptr))
            behind();
        return answer;
    }
    void tell(const std::string& title, const std::string& text, Icon icon) override
    {
        boxes.push_back({title, text, false, icon});
        if (auto behind = std::exchange(whileShown, nullptr))
            behind();
    }
};
