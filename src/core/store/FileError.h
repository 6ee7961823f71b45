#pragma once

#include <string>
#include <string_view>

// A file operation that failed: which file, and the system's reason.
struct FileError {
    std::string file;
    std::string reason;
};

// The file's full path, as the user should see it in a message.
std::string shownPath(const std::string& file);

// "<lead> "<full path>": <reason>.", then an empty line and `next`.
std::string fileErrorText(std::string_view lead, const FileError& error, std::string_view next);
