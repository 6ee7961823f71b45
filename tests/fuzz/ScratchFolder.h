#pragma once

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

// Moves a fuzz target into a folder of its own, once, in memory where the
// machine has it: the targets write files on every run, and a disk would
// make each run wait for it. The folder goes when the fuzzer ends.
inline void enterScratchFolder()
{
    static char folder[] = "/dev/shm/kelmo-fuzz-XXXXXX";
    static bool done = false;
    if (done)
        return;
    if (::access("/dev/shm", W_OK) != 0)
        std::memcpy(folder, "/tmp/kelmo-fuzz-XXXXXX", sizeof "/tmp/kelmo-fuzz-XXXXXX");
    if (!::mkdtemp(folder) || ::chdir(folder) != 0)
        std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    done = true;
}
