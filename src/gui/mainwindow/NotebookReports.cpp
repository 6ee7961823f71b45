#include "NotebookReports.h"

#include "NotebookMessages.h"
#include "core/common/Product.h"

namespace {

// Notices of one kind take each other's place.
const char* const kSaveNotice = "save";
const char* const kFileNotice = "file";

} // namespace

NotebookReports::NotebookReports(UserDialogs& dialogs_, QObject* parent)
    : QObject(parent)
    , dialogs(dialogs_)
{}

void NotebookReports::cannotRead(const FileError& error, bool atEnd)
{
    if (erstesMal(atEnd))
        melde(atEnd, kFileNotice, NotebookMessages::cannotReadChanged(error), UserDialogs::Icon::Critical);
}

void NotebookReports::cannotSave(const FileError& error, bool atEnd)
{
    if (erstesMal(atEnd))
        melde(atEnd, kSaveNotice, NotebookMessages::cannotSave(error, atEnd), UserDialogs::Icon::Critical);
}

void NotebookReports::stillBeingWritten(bool atEnd)
{
    melde(atEnd, kFileNotice, NotebookMessages::stillBeingWritten(), UserDialogs::Icon::Information);
}

void NotebookReports::bothKept(const std::string& asidePath, bool atEnd)
{
    melde(atEnd, kFileNotice, NotebookMessages::bothKept(asidePath), UserDialogs::Icon::Information);
}

void NotebookReports::savedButNotAside(const FileError& error, bool atEnd)
{
    melde(atEnd, kFileNotice, NotebookMessages::savedButNotAside(error), UserDialogs::Icon::Warning);
}

void NotebookReports::partPageFound(const std::string& text)
{
    emit notice(QString::fromLatin1(kFileNotice), QString::fromStdString(text));
}

// Each rescue on its own: two of them must not take each other's place.
void NotebookReports::rescuedBefore(const std::string& rescuePath)
{
    emit notice(QStringLiteral("rescue ") + QString::fromStdString(rescuePath),
                NotebookMessages::rescuedBefore(rescuePath));
}

void NotebookReports::saved()
{
    failureTold = false;
    emit noticeOver(QString::fromLatin1(kSaveNotice));
}

bool NotebookReports::erstesMal(bool atEnd)
{
    const bool told = failureTold;
    failureTold = true;
    return atEnd || !told;
}

void NotebookReports::melde(bool atEnd, const char* kind, const QString& text, UserDialogs::Icon icon)
{
    if (atEnd)
        dialogs.tell(Product::kMessageTitle, text.toStdString(), icon);
    else
        emit notice(QString::fromLatin1(kind), text);
}
