#include "NotebookMessages.h"

#include "core/store/PageFile.h"
#include "core/store/WorkingFolder.h"

#include <QFileInfo>

namespace NotebookMessages {
namespace {

QString shown(const std::string& file)
{
    return QString::fromStdString(shownPath(file));
}

QString reason(const FileError& error)
{
    return QString::fromStdString(error.reason);
}

} // namespace

QString cannotOpen(const FileError& error)
{
    return QString::fromStdString(fileErrorText("Kelmo-Note cannot open the notebook", error,
                                                "Kelmo-Note ends now and leaves the file as it is."));
}

// A changed notebook we cannot read is never written over: our pages stay
// in memory until the user has seen to the file.
QString cannotReadChanged(const FileError& error)
{
    return QStringLiteral("Kelmo-Note cannot read the notebook \"%1\", which has changed on disk: %2.\n\n"
                          "Kelmo-Note does not write over it. Your pages are still open in Kelmo-Note; "
                          "see to the file, then Kelmo-Note saves them.")
        .arg(shown(error.file), reason(error));
}

QString cannotSave(const FileError& error, bool atEnd)
{
    const QString whatNext = atEnd ? QStringLiteral("Fix the cause, then end Kelmo-Note again.")
                                   : QStringLiteral("Kelmo-Note keeps trying while it runs.");
    // Where the notebook is gone with its folder, it is not "as it was".
    const QString onDisk = QFileInfo::exists(QString::fromLatin1(PageFile::kName))
                               ? QStringLiteral(" and \"%1\" is as it was").arg(shown(PageFile::kName))
                               : QStringLiteral("; nothing was written");
    return QStringLiteral("Kelmo-Note could not save the notebook \"%1\".\n\n"
                          "Writing \"%2\" failed: %3.\n\n"
                          "Your pages are still open in Kelmo-Note%4. %5")
        .arg(shown(PageFile::kName), shown(error.file), reason(error), onDisk, whatNext);
}

QString stillBeingWritten()
{
    return QStringLiteral(
               "Another program has been writing the notebook \"%1\" for more than half a minute.\n\n"
               "Kelmo-Note neither reads it nor writes over it until it is done. Your pages stay "
               "open in Kelmo-Note and are saved then.")
        .arg(shown(PageFile::kName));
}

QString bothKept(const std::string& asidePath)
{
    return QStringLiteral("Another program changed the notebook \"%1\" while you were writing in it.\n\n"
                          "Both are kept: the other version is now \"%2\", and your pages stay in \"%1\".")
        .arg(shown(PageFile::kName), shown(asidePath));
}

// Ours is saved; the other side's file it took the place of is still under
// the temporary name, which the next save would clear.
QString savedButNotAside(const FileError& error)
{
    return QStringLiteral("Kelmo-Note saved your pages in \"%1\". Another program had changed the notebook; "
                          "its version could not be given a name of its own: %2.\n\n"
                          "It is \"%3\" now. Copy it elsewhere before Kelmo-Note saves again.")
        .arg(shown(PageFile::kName), reason(error), shown(error.file));
}

QString lockedOut()
{
    return QStringLiteral("The notebook's folder \"%1\" was made anew, and another Kelmo-Note has the "
                          "notebook there open now.\n\nThis one writes nothing there. Your pages stay open "
                          "here; when you end, they go to a rescue file.")
        .arg(QString::fromStdString(WorkingFolder::path()));
}

QString endedLockedOut(bool rescued, const std::string& rescuePath)
{
    if (!rescued)
        return QStringLiteral("Another Kelmo-Note has the notebook \"%1\" open, and your pages could not be "
                              "put in a rescue file either. They are still open in Kelmo-Note.")
            .arg(shown(PageFile::kName));
    return QStringLiteral("Another Kelmo-Note has the notebook \"%1\" open, so this one did not write it.\n\n"
                          "Your pages are in \"%2\".")
        .arg(shown(PageFile::kName), QString::fromStdString(rescuePath));
}

QString rescuedBefore(const std::string& rescuePath)
{
    return QStringLiteral("When Kelmo-Note last ended, the notebook here could not be written, so your pages "
                          "went to \"%1\". Copy what you need from there; it is a notebook of its own.")
        .arg(QString::fromStdString(rescuePath));
}

} // namespace NotebookMessages
