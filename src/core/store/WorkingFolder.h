#pragma once

#include <string>

// The notebook is kept in the working folder. Where that folder is removed
// while the program runs (a USB stick pulled, a network share gone), the
// program is left in a folder that is nowhere any more; once a folder is at
// its path again, the notebook is kept in that one.
namespace WorkingFolder {

// Remembers the working folder's full path.
void remember();
// The path remembered; empty before, or where the system has none.
const std::string& path();
// Works in the folder at the remembered path where the working folder has
// been removed and one is there again. True when it did.
bool rejoin();

} // namespace WorkingFolder
