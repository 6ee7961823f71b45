#include "CodePage.h"

// Where the system has no ANSI code page, the notebook keeps the one Windows
// writes it in most often, so that a notebook opens unchanged on both.
const CodePage& CodePage::system()
{
    return windows1252();
}

std::string CodePage::systemName()
{
    return "Windows-1252";
}
