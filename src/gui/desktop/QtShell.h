#pragma once

#include "Shell.h"

class QtShell : public Shell {
public:
    bool open(const std::string& address, const std::string& workingDirectory) override;
};
