#include "NotebookKeeper.h"

#include "core/desktop/UserDialogs.h"
#include "core/store/FileSystem.h"
#include "core/store/PageFile.h"
#include "core/store/WorkingFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QScopeGuard>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

// Notices of one kind take each other's place.
const char* const kSaveNotice = "save";
const char* const kFileNotice = "file";

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
    , disk(FileSystem::native(), PageFile::kName)
    , pause(timer(this, "pauseAfterTyping", kPauseMs))
    , retry(timer(this, "retryAfterFailure", kRetryMs))
    , settle(timer(this, "settleAfterFileChange", kSettleMs))
    , quiet(timer(this, "lookWhetherQuiet", static_cast<int>(NotebookOnDisk::kQuietMs)))
    , longest(timer(this, "longestUnsaved", kLongestUnsavedMs))
{
    connect(pause, &QTimer::timeout, this, &NotebookKeeper::saveBetweenTimes);
    connect(retry, &QTimer::timeout, this, &NotebookKeeper::saveBetweenTimes);
    connect(settle, &QTimer::timeout, this, &NotebookKeeper::lookAtFile);
    connect(quiet, &QTimer::timeout, this, &NotebookKeeper::lookAtFile);
    connect(longest, &QTimer::timeout, this, &NotebookKeeper::saveBetweenTimes);
    clock.start();
    store.onChange([this](const PageList& pages) { disk.remember(pages); });
}

std::int64_t NotebookKeeper::jetzt() const
{
    return clock.elapsed();
}

bool NotebookKeeper::loadAtStart()
{
    WorkingFolder::remember();
    PageFile::ReadInfo found;
    if (auto error = store.leseDatei(PageFile::kName, found)) {
        meldeLesefehler(*error);
        return false;
    }
    disk.read(found, jetzt());
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

// Saved when typing pauses, and while it goes on, no later than
// kLongestUnsavedMs after the first change not saved.
void NotebookKeeper::typed()
{
    pause->start();
    if (!longest->isActive())
        longest->start();
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
    quiet->stop();
    longest->stop();
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
    // A file that changed just before ours would have replaced it is looked
    // at again; at the end that is waited for.
    for (int attempt = 0; attempt < 3; ++attempt) {
        NotebookOnDisk::Answer answer;
        if (auto error = entscheide(occasion, answer)) {
            meldeFehler(*error, occasion);
            return false;
        }
        if (answer.step == NotebookOnDisk::Step::Wait)
            return warte(answer, occasion);
        bool written = true;
        const bool done = fuehreAus(answer, occasion, written);
        if (!done || written)
            return done;
        if (occasion != Occasion::End) {
            settle->start();
            return true;
        }
    }
    return warte({}, occasion);
}

// Another program is still writing the notebook: ours stay in memory.
bool NotebookKeeper::warte(const NotebookOnDisk::Answer& answer, Occasion occasion)
{
    if (answer.tellStillWriting)
        meldeNochInArbeit();
    if (occasion == Occasion::End) {
        meldeSchreibfehler({PageFile::kName, "another program is still writing it"}, occasion);
        return false;
    }
    // Its own timer: the changes that keep coming must not put off the look
    // that finds the file quiet.
    quiet->start(static_cast<int>(answer.lookAgainMs));
    return true;
}

// At the end there is no later look: it waits a little for another program
// to finish writing.
std::optional<FileError> NotebookKeeper::entscheide(Occasion occasion, NotebookOnDisk::Answer& answer)
{
    const std::int64_t giveUp = jetzt() + kEndWaitMs;
    for (;;) {
        if (auto error = disk.decide(store.pages(), store.hasUnsavedChanges(), jetzt(), answer))
            return error;
        if (answer.step != NotebookOnDisk::Step::Wait || occasion != Occasion::End || jetzt() >= giveUp)
            return std::nullopt;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min(answer.lookAgainMs, giveUp - jetzt())));
    }
}

bool NotebookKeeper::fuehreAus(NotebookOnDisk::Answer& answer, Occasion occasion, bool& written)
{
    switch (answer.step) {
    case NotebookOnDisk::Step::Nothing:
        if (occasion != Occasion::Look)
            retry->stop();
        return true;
    case NotebookOnDisk::Step::Load:
        return lade(answer, occasion);
    case NotebookOnDisk::Step::Save:
        // A look at the file writes nothing of ours: the pause after typing does.
        if (occasion == Occasion::Look)
            return true;
        return schreibe(occasion, written);
    case NotebookOnDisk::Step::Restore:
    case NotebookOnDisk::Step::KeepBoth:
    case NotebookOnDisk::Step::Wait:
        break;
    }
    return schreibe(occasion, written);
}

// Nothing of ours changed: theirs is taken, except at the end, where it
// stays on disk as it is.
bool NotebookKeeper::lade(NotebookOnDisk::Answer& answer, Occasion occasion)
{
    if (occasion == Occasion::End)
        return true;
    // Known first: taking the pages may tell of a part page, and a look
    // behind that message must find the file as read.
    disk.read(answer.theirsFound, jetzt());
    store.takePages(std::move(answer.theirs));
    if (const std::size_t part = answer.theirsFound.partBytes)
        emit notice(QString::fromLatin1(kFileNotice),
                    QString::fromStdString(store.partPageText(part, store.pageCount())));
    emit pagesReloaded();
    return true;
}

// `written` is false where the file changed just before ours would have
// taken its place, on a file system that cannot swap files.
bool NotebookKeeper::schreibe(Occasion occasion, bool& written)
{
    pause->stop();
    const PageFile::Expected expected = disk.expected(store.pages());
    PageFile::Saved saved;
    auto error = store.schreibeDatei("Kelmo-Note", &expected, saved);
    written = saved.written;
    if (saved.written)
        disk.written(saved, jetzt());
    if (!saved.asidePath.empty())
        meldeBeidesBehalten(saved.asidePath, occasion);
    if (error && !saved.written) {
        meldeSchreibfehler(*error, occasion);
        return false;
    }
    if (error)
        meldeNichtBeiseite(*error, occasion);
    failureTold = false;
    retry->stop();
    longest->stop();
    emit noticeOver(QString::fromLatin1(kSaveNotice));
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
    melde(occasion, kFileNotice, text, UserDialogs::Icon::Critical);
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
    melde(occasion, kSaveNotice, text, UserDialogs::Icon::Critical);
}

void NotebookKeeper::meldeNochInArbeit()
{
    const QString text =
        QStringLiteral("Another program has been writing the notebook \"%1\" for more than half a minute.\n\n"
                       "Kelmo-Note neither reads it nor writes over it until it is done. Your pages stay "
                       "open in Kelmo-Note and are saved then.")
            .arg(shown(PageFile::kName));
    melde(Occasion::Look, kFileNotice, text, UserDialogs::Icon::Information);
}

// Ours is saved; the other side's file it took the place of is still under
// the temporary name, which the next save would clear.
void NotebookKeeper::meldeNichtBeiseite(const FileError& error, Occasion occasion)
{
    const QString text =
        QStringLiteral("Kelmo-Note saved your pages in \"%1\". Another program had changed the notebook; "
                       "its version could not be given a name of its own: %2.\n\n"
                       "It is \"%3\" now. Copy it elsewhere before Kelmo-Note saves again.")
            .arg(shown(PageFile::kName), QString::fromStdString(error.reason), shown(error.file));
    melde(occasion, kFileNotice, text, UserDialogs::Icon::Warning);
}

void NotebookKeeper::meldeBeidesBehalten(const std::string& asidePath, Occasion occasion)
{
    const QString text =
        QStringLiteral("Another program changed the notebook \"%1\" while you were writing in it.\n\n"
                       "Both are kept: the other version is now \"%2\", and your pages stay in \"%1\".")
            .arg(shown(PageFile::kName), shown(asidePath));
    melde(occasion, kFileNotice, text, UserDialogs::Icon::Information);
}

// What answers the end is a message box; everything else comes by itself
// and is a notice, which takes no keyboard.
void NotebookKeeper::melde(Occasion occasion, const char* kind, const QString& text, UserDialogs::Icon icon)
{
    if (occasion == Occasion::End)
        dialogs.tell("Kelmo Note", text.toStdString(), icon);
    else
        emit notice(QString::fromLatin1(kind), text);
}
