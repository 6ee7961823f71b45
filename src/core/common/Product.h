#pragma once

// The program's name as it shows it, in one place.
namespace Product {

// The name in window titles, the tray, print jobs and notices.
inline constexpr const char* kName = "Kelmo-Note";
// The title of every message box, as the program has always written it.
inline constexpr const char* kMessageTitle = "Kelmo Note";
// The name of the program's folders among the user's data.
inline constexpr const char* kFolderName = "kelmo-note";

} // namespace Product
