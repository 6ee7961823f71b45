#pragma once

#include "FileError.h"
#include "PageList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where the pages go when the program must end and the notebook cannot be
// written: a page file of its own in the user's data folder, named for the
// notebook's folder and the time, beside a note of which folder it came
// from, so that the next start there can say where it is.
namespace Rescue {

// "<data folder>/kelmo-note".
std::string folder();
// "kel-rescue <folder name> <YYYY-MM-DD HH-MM-SS>.kel" at local time `when`;
// from the second attempt on, a number makes it unique.
std::string fileName(const std::string& notebookFolder, std::int64_t when, int attempt);

// Writes `pages` to a new rescue file for the notebook in `notebookFolder`;
// nothing is ever written over. `rescuePath` gets its path.
[[nodiscard]] std::optional<FileError> write(const PageList& pages, const std::string& notebookFolder,
                                             std::string& rescuePath);
// The rescues made for `notebookFolder` and not yet told of.
std::vector<std::string> untold(const std::string& notebookFolder);
// The rescue has been told of: it is not told again.
void told(const std::string& rescuePath);

} // namespace Rescue
