#pragma once

#include "gui/desktop/Shell.h"

#include <utility>
#include <vector>

// Remembers every address handed to the desktop, with its working directory.
class RecordingShell : public Shell {
public:
    std::vector<std::pair<std::string, std::string>> opened;
    bool takes = true; // false: no program on the desktop takes addresses

    bool open(const std::string& address, const std::string& workingDirectory) override
    {
        opened.emplace_back(address, workingDirectory);
        return takes;
    }
};
