#pragma once

#include <string>

// Where a program keeps the user's own data, apart from any notebook.
namespace UserFolders {

// $XDG_DATA_HOME, or ~/.local/share, on Linux and other POSIX systems; the
// local application data folder on Windows. Empty where none is known.
std::string data();

} // namespace UserFolders
