#pragma once

#include <string>

// A file operation that failed: which file, and the system's reason.
struct FileError {
    std::string file;
    std::string reason;
};
