#pragma once

#include <string>

// One writer per notebook. Two copies of the program on one notebook would
// each write it at their end, and their saves would share one temporary
// file. The lock is keyed by the notebook file itself, whatever path, link
// or mount leads there, and the operating system drops it when the process
// ends, so a crashed copy never blocks the next start.
class NotebookLock {
public:
    enum class Outcome {
        Taken,
        HeldElsewhere,
        // The file system cannot lock (some network shares): the program
        // goes on unguarded.
        NotSupported,
    };

    NotebookLock() = default;
    ~NotebookLock();
    NotebookLock(const NotebookLock&) = delete;
    NotebookLock& operator=(const NotebookLock&) = delete;

    Outcome take(const std::string& notebookPath);
    // The same text for every path that leads to the same notebook; set by take.
    const std::string& identity() const { return notebookIdentity; }
    // Why locking is not possible, for NotSupported.
    const std::string& reason() const { return failure; }

private:
    std::string notebookIdentity;
    std::string failure;
    // What holds the lock: a descriptor on POSIX, a handle on Windows.
    int fd = -1;
    void* lockHandle = nullptr;
};
