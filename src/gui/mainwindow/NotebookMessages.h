#pragma once

#include "core/store/FileError.h"

#include <QString>
#include <string>

// What the user is told about the notebook on disk.
namespace NotebookMessages {

QString cannotOpen(const FileError& error);
QString cannotReadChanged(const FileError& error);
// `atEnd`: the user waits for the program to end and must act.
QString cannotSave(const FileError& error, bool atEnd);
QString stillBeingWritten();
QString bothKept(const std::string& asidePath);
QString savedButNotAside(const FileError& error);
QString lockedOut();
QString endedLockedOut(bool rescued, const std::string& rescuePath);
QString rescuedBefore(const std::string& rescuePath);

} // namespace NotebookMessages
