#include "FaultInjection.h"

#include <cerrno>
#include <cstdarg>
#include <fcntl.h>
#include <unistd.h>

namespace FaultInjection {
namespace {

bool armed = false;
Op failOp = Op::Count;
int failAt = 0;
int counts[static_cast<int>(Op::Count)] = {};
bool renamed = false;
bool didFail = false;
bool failedEarly = false;

// Counts the call and says whether it is the one to fail.
bool hit(Op op)
{
    if (!armed)
        return false;
    const int n = ++counts[static_cast<int>(op)];
    if (op != failOp || n != failAt)
        return false;
    didFail = true;
    failedEarly = !renamed;
    return true;
}

} // namespace

const char* name(Op op)
{
    static const char* const names[] = {"open", "write", "fsync", "close", "rename", "unlink", "short write"};
    return names[static_cast<int>(op)];
}

void arm(Op op, int nth)
{
    armed = true;
    failOp = op;
    failAt = nth;
    renamed = false;
    didFail = false;
    failedEarly = false;
    for (int& count : counts)
        count = 0;
}

void disarm()
{
    armed = false;
}

int calls(Op op)
{
    return counts[static_cast<int>(op)];
}

bool failedBeforeRename()
{
    return failedEarly;
}

bool failed()
{
    return didFail;
}

} // namespace FaultInjection

using FaultInjection::hit;
using FaultInjection::Op;

extern "C" {

int __real_openat(int folder, const char* path, int flags, ...);
ssize_t __real_write(int fd, const void* data, size_t size);
int __real_fsync(int fd);
int __real_close(int fd);
int __real_renameat(int fromFolder, const char* from, int toFolder, const char* to);
int __real_unlinkat(int folder, const char* path, int flags);
int __real_renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags);

int __wrap_openat(int folder, const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    if (hit(Op::Open)) {
        errno = EACCES;
        return -1;
    }
    return __real_openat(folder, path, flags, mode);
}

ssize_t __wrap_write(int fd, const void* data, size_t size)
{
    if (hit(Op::Write)) {
        errno = ENOSPC;
        return -1;
    }
    // A write that takes only part of the data, as a pipe or a signal may.
    if (size > 1 && hit(Op::ShortWrite))
        return __real_write(fd, data, size / 2);
    return __real_write(fd, data, size);
}

int __wrap_fsync(int fd)
{
    if (hit(Op::Fsync)) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}

int __wrap_close(int fd)
{
    const int result = __real_close(fd);
    if (hit(Op::Close)) {
        errno = EIO; // a delayed write error, reported at close
        return -1;
    }
    return result;
}

int __wrap_renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    if (hit(Op::Rename)) {
        errno = EXDEV;
        return -1;
    }
    const int result = __real_renameat(fromFolder, from, toFolder, to);
    if (result == 0)
        FaultInjection::renamed = true;
    return result;
}

// The save swaps its file in with renameat2; a failing swap is a failing rename.
int __wrap_renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    if (hit(Op::Rename)) {
        errno = EXDEV;
        return -1;
    }
    const int result = __real_renameat2(fromFolder, from, toFolder, to, flags);
    if (result == 0)
        FaultInjection::renamed = true;
    return result;
}

int __wrap_unlinkat(int folder, const char* path, int flags)
{
    if (hit(Op::Unlink)) {
        errno = EPERM;
        return -1;
    }
    return __real_unlinkat(folder, path, flags);
}

} // extern "C"
