/* Preloaded into a program, makes every fsync and fdatasync take a second
 * longer, as on a USB stick or a network home folder, and writes when each
 * began and ended (CLOCK_MONOTONIC nanoseconds) to $KELMO_SLOW_SYNC_LOG. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long now_ns(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void note(const char* what, long long when)
{
    const char* path = getenv("KELMO_SLOW_SYNC_LOG");
    FILE* log = path ? fopen(path, "a") : NULL;
    if (!log)
        return;
    fprintf(log, "%s %lld\n", what, when);
    fclose(log);
}

static int slowly(const char* name, int fd)
{
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, name);
    const long long began = now_ns();
    const struct timespec second = {1, 0};
    nanosleep(&second, NULL);
    const int result = real(fd);
    note("sync", began);
    note("synced", now_ns());
    return result;
}

int fsync(int fd)
{
    return slowly("fsync", fd);
}

int fdatasync(int fd)
{
    return slowly("fdatasync", fd);
}
