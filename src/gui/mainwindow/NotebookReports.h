#pragma once

#include "core/desktop/UserDialogs.h"
#include "core/store/FileError.h"

#include <QObject>
#include <QString>
#include <string>

// What keeping the notebook on disk has to tell. What comes by itself is a
// notice, which takes no keyboard, and one of a kind takes the place of the
// one before; what answers the end, which the user waits for, is a message
// box. A failure is told once per run of failures, so that the user is not
// nagged every few seconds; at the end always.
class NotebookReports : public QObject {
    Q_OBJECT

public:
    NotebookReports(UserDialogs& dialogs, QObject* parent);

    void cannotRead(const FileError& error, bool atEnd);
    void cannotSave(const FileError& error, bool atEnd);
    void stillBeingWritten(bool atEnd);
    void bothKept(const std::string& asidePath, bool atEnd);
    void savedButNotAside(const FileError& error, bool atEnd);
    void partPageFound(const std::string& text);
    void rescuedBefore(const std::string& rescuePath);
    // A save succeeded: the run of failures is over, and so is its notice.
    void saved();

signals:
    void notice(const QString& kind, const QString& text);
    void noticeOver(const QString& kind);

private:
    bool erstesMal(bool atEnd);
    void melde(bool atEnd, const char* kind, const QString& text, UserDialogs::Icon icon);

    UserDialogs& dialogs;
    bool failureTold = false;
};
