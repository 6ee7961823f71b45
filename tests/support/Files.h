#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// One 2000-byte record: `text` filled up with blanks.
std::string record(const std::string& text);

// Runs `work` in a child process without root's power over files, so that
// file permissions hold as they do for a user. Returns the child's exit code.
int runAsUnprivilegedUser(const std::function<int()>& work);
