#pragma once

#include "core/desktop/UserDialogs.h"

#include <string>
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

    bool askYesNo(const std::string& title, const std::string& text) override
    {
        boxes.push_back({title, text, true, Icon::None});
        return answer;
    }
    void tell(const std::string& title, const std::string& text, Icon icon) override
    {
        boxes.push_back({title, text, false, icon});
    }
};
