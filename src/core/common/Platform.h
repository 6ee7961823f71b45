#pragma once

// The one place where the code asks which platform it is built for; what
// differs more than a constant stands in files of their own (_posix, _win,
// ...), picked by CMake.

#include <ctime>

namespace Platform {

#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr const char* kPathSeparators = "/";
inline constexpr char kPathSeparator = '/';
#endif

// The local time of `time`, safe on any thread.
inline std::tm localTime(std::time_t time)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    return local;
}

} // namespace Platform
