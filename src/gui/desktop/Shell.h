#pragma once

#include <string>

// Hands an address (a web page, a "mailto:" mail) to the program the
// desktop opens it with.
class Shell {
public:
    virtual ~Shell() = default;

    // False when no program took the address. `workingDirectory` is for the
    // platforms whose hand-off takes one.
    virtual bool open(const std::string& address, const std::string& workingDirectory) = 0;
};
