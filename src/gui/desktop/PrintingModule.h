#pragma once

class Printing;

// The printing module's one entry: a function that makes Qt's printing.
namespace PrintingModule {

using Factory = Printing* (*)();
inline constexpr const char* kFactory = "kelmoMakePrinting";

} // namespace PrintingModule
