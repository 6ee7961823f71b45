// On Windows a folder cannot be locked the same way; the lock is a file
// beside the notebook that no other process may open while we hold it, and
// that Windows removes when the last handle goes, also after a crash.
#include "NotebookLock.h"

#include "WideText_win.h"

#include <windows.h>

namespace {} // namespace

NotebookLock::~NotebookLock()
{
    if (lockHandle)
        CloseHandle(static_cast<HANDLE>(lockHandle));
}

NotebookLock::Outcome NotebookLock::take(const std::string& notebookPath)
{
    const std::wstring lockPath = WideText::fromUtf8(notebookPath + ".lock");
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(lockPath.c_str(), MAX_PATH * 4, full, nullptr);
    notebookIdentity = length > 0 ? WideText::toUtf8(std::wstring(full, length)) : notebookPath;
    for (char& c : notebookIdentity)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    HANDLE file = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        lockHandle = file;
        return Outcome::Taken;
    }
    if (GetLastError() == ERROR_SHARING_VIOLATION)
        return Outcome::HeldElsewhere;
    failure = "error " + std::to_string(GetLastError());
    return Outcome::NotSupported;
}
