#include "NotebookKeeper.h"

#include "core/desktop/UserDialogs.h"
#include "core/store/PageFile.h"
#include "core/store/WorkingFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QScopeGuard>
#include <QTimer>

namespace {

QTimer* timer(QObject* parent, const char* name, int interval)
{
    auto* result = new QTimer(parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setSingleShot(true);
    result->setInterval(interval);
    return result;
}

QString shown(const std::string& file)
{
    return QString::fromStdString(shownPath(file));
}

} // namespace

NotebookKeeper::NotebookKeeper(BusinessDataTier& store_, UserDialogs& dialogs_, QObject* parent)
    : QObject(parent)
    , store(store_)
    , dialogs(dialogs_)
    , pause(timer(this, "pauseAfterTyping", kPauseMs))
    , retry(timer(this, "retryAfterFailure", kRetryMs))
    , settle(timer(this, "settleAfterFileChange", kSettleMs))
{
    connect(pause, &QTimer::timeout, this, &NotebookKeeper::saveBetweenTimes);
    connect(retry, &QTimer::timeout, this, &NotebookKeeper::saveBetweenTimes);
    connect(settle, &QTimer::timeout, this, &NotebookKeeper::lookAtFile);
}

bool NotebookKeeper::loadAtStart()
{
    WorkingFolder::remember();
    if (auto error = store.leseDatei(PageFile::kName)) {
        meldeLesefehler(*error);
        return false;
    }
    watcher = new QFileSystemWatcher(this);
    auto changed = [this] { settle->start(); };
    connect(watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    beobachte();
    return true;
}

void NotebookKeeper::meldeLesefehler(const FileError& error)
{
    dialogs.tell("Kelmo Note",
                 fileErrorText("Kelmo-Note cannot open the notebook", error,
                               "Kelmo-Note ends now and leaves the file as it is."),
                 UserDialogs::Icon::Critical);
}

// A replaced file is a new one, and the watch on the old one ends with it;
// the folder's watch sees the new one come.
void NotebookKeeper::beobachte()
{
    const QFileInfo notebook(QString::fromLatin1(PageFile::kName));
    const QString file = notebook.canonicalFilePath();
    const QString folder = file.isEmpty() ? notebook.absolutePath() : QFileInfo(file).absolutePath();
    for (const QString& path : {file, folder})
        if (!path.isEmpty() && !watcher->files().contains(path) && !watcher->directories().contains(path))
            watcher->addPath(path);
}

void NotebookKeeper::typed()
{
    pause->start();
}

void NotebookKeeper::saveBetweenTimes()
{
    sichere(Occasion::BetweenTimes);
}

bool NotebookKeeper::saveAtEnd()
{
    pause->stop();
    retry->stop();
    settle->stop();
    return sichere(Occasion::End);
}

void NotebookKeeper::lookAtFile()
{
    if (!watcher)
        return;
    beobachte();
    sichere(Occasion::Look);
}

bool NotebookKeeper::sichere(Occasion occasion)
{
    if (!watcher)
        return true;
    if (WorkingFolder::rejoin())
        beobachte();
    emit pagesWanted();
    BusinessDataTier::FileState state{};
    if (auto error = store.checkFile(state)) {
        meldeFehler(*error, occasion);
        return false;
    }
    switch (state) {
    case BusinessDataTier::FileState::Replaced:
        return nimmAenderungAuf(occasion);
    case BusinessDataTier::FileState::Missing:
        return schreibe(occasion);
    case BusinessDataTier::FileState::AsKnown:
        break;
    }
    // A look at the file writes nothing of ours: the pause after typing does.
    if (occasion == Occasion::Look || !store.hasUnsavedChanges()) {
        if (occasion != Occasion::Look)
            retry->stop();
        return true;
    }
    return schreibe(occasion);
}

bool NotebookKeeper::nimmAenderungAuf(Occasion occasion)
{
    if (!store.hasUnsavedChanges()) {
        if (occasion == Occasion::End)
            return true;
        if (auto error = store.reload()) {
            meldeFehler(*error, occasion);
            return false;
        }
        emit pagesReloaded();
        return true;
    }
    std::string aside;
    if (auto error = store.moveFileAside(aside)) {
        meldeSchreibfehler(*error, occasion);
        return false;
    }
    const bool written = schreibe(occasion);
    meldeBeidesBehalten(aside);
    return written;
}

bool NotebookKeeper::schreibe(Occasion occasion)
{
    pause->stop();
    if (auto error = store.schreibeDatei("Kelmo-Note")) {
        meldeSchreibfehler(*error, occasion);
        return false;
    }
    failureTold = false;
    retry->stop();
    return true;
}

// Once per run of failures: the user is not to be nagged every few seconds.
// An end that fails is always told, since the user waits for the program to
// end.
bool NotebookKeeper::erstesMal(Occasion occasion)
{
    const bool told = failureTold;
    failureTold = true;
    return occasion == Occasion::End || !told;
}

// A changed notebook we cannot read is never written over: our pages stay
// in memory until the user has seen to the file.
void NotebookKeeper::meldeFehler(const FileError& error, Occasion occasion)
{
    // The program runs on after a failed end as well, so it keeps trying,
    // once the message is closed.
    const QScopeGuard tryAgain([this] {
        if (store.hasUnsavedChanges())
            retry->start();
    });
    if (!erstesMal(occasion))
        return;
    const QString text =
        QStringLiteral("Kelmo-Note cannot read the notebook \"%1\", which has changed on disk: %2.\n\n"
                       "Kelmo-Note does not write over it. Your pages are still open in Kelmo-Note; "
                       "see to the file, then Kelmo-Note saves them.")
            .arg(shown(error.file), QString::fromStdString(error.reason));
    dialogs.tell("Kelmo Note", text.toStdString(), UserDialogs::Icon::Critical);
}

// The retry starts once the message is closed: one that saved while the
// message was up would leave it saying the pages were not saved.
void NotebookKeeper::meldeSchreibfehler(const FileError& error, Occasion occasion)
{
    const QScopeGuard tryAgain([this] { retry->start(); });
    if (!erstesMal(occasion))
        return;
    const QString whatNext = occasion == Occasion::End
                                 ? QStringLiteral("Fix the cause, then end Kelmo-Note again.")
                                 : QStringLiteral("Kelmo-Note keeps trying while it runs.");
    // Where the notebook is gone with its folder, it is not "as it was".
    const QString onDisk = QFileInfo::exists(QString::fromLatin1(PageFile::kName))
                               ? QStringLiteral(" and \"%1\" is as it was").arg(shown(PageFile::kName))
                               : QStringLiteral("; nothing was written");
    const QString text = QStringLiteral("Kelmo-Note could not save the notebook \"%1\".\n\n"
                                        "Writing \"%2\" failed: %3.\n\n"
                                        "Your pages are still open in Kelmo-Note%4. %5")
                             .arg(shown(PageFile::kName), shown(error.file),
                                  QString::fromStdString(error.reason), onDisk, whatNext);
    dialogs.tell("Kelmo Note", text.toStdString(), UserDialogs::Icon::Critical);
}

void NotebookKeeper::meldeBeidesBehalten(const std::string& asidePath)
{
    const QString text =
        QStringLiteral("Another program changed the notebook \"%1\" while you were writing in it.\n\n"
                       "Both are kept: the other version is now \"%2\", and your pages stay in \"%1\".")
            .arg(shown(PageFile::kName), shown(asidePath));
    dialogs.tell("Kelmo Note", text.toStdString(), UserDialogs::Icon::Information);
}
