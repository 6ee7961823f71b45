#include "UserFolders.h"

#include "WideText_win.h"
#include "core/common/Product.h"

#include <filesystem>
#include <system_error>
#include <windows.h>

std::string UserFolders::data()
{
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, 32768);
    return length == 0 || length >= 32768 ? std::string() : WideText::toUtf8(std::wstring(buffer, length));
}

std::string UserFolders::runtime()
{
    const std::string folder = data().empty() ? std::string() : data() + "\\" + Product::kFolderName;
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    return folder;
}
