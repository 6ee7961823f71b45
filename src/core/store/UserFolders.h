#pragma once

#include <string>

// Where a program keeps the user's own data, apart from any notebook.
namespace UserFolders {

// $XDG_DATA_HOME, or ~/.local/share, on Linux and other POSIX systems; the
// local application data folder on Windows. Empty where none is known.
std::string data();
// Where a program keeps what only lives while the user is logged in and
// only the user may reach: $XDG_RUNTIME_DIR where it is set, else the data
// folder's "kelmo-note"; on Windows that too. Made private where missing.
std::string runtime();

} // namespace UserFolders
