#include "NotebookKeeper.h"

#include "NotebookMessages.h"
#include "core/store/FileSystem.h"
#include "core/store/PageFile.h"
#include "core/store/Rescue.h"
#include "core/store/WorkingFolder.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QScopeGuard>
#include <QThread>
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

bool writes(NotebookOnDisk::Step step)
{
    using Step = NotebookOnDisk::Step;
    return step == Step::Save || step == Step::Restore || step == Step::KeepBoth;
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
    connect(longest, &QTimer::timeout, this, &NotebookKeeper::saveBetweenTimes);
    connect(settle, &QTimer::timeout, this, &NotebookKeeper::lookAtFile);
    connect(quiet, &QTimer::timeout, this, &NotebookKeeper::lookAtFile);
}

// A job under way holds a snapshot of the pages and the file rule: it is
// waited for.
NotebookKeeper::~NotebookKeeper()
{
    if (worker)
        worker->wait();
}

std::int64_t NotebookKeeper::jetzt()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool NotebookKeeper::loadAtStart()
{
    WorkingFolder::remember();
    oeffneOrdner();
    PageFile::ReadInfo found;
    if (auto error = store.leseDatei(PageFile::kName, found)) {
        dialogs.tell("Kelmo Note", NotebookMessages::cannotOpen(*error).toStdString(),
                     UserDialogs::Icon::Critical);
        return false;
    }
    disk.read(found, store.pages().snapshot(), jetzt());
    meldeGerettet();
    watcher = new QFileSystemWatcher(this);
    auto changed = [this] { settle->start(); };
    connect(watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    beobachte();
    return true;
}

// The notebook's folder is held open, so that the disk is reached through
// it and never through a working directory that changes meanwhile.
bool NotebookKeeper::oeffneOrdner()
{
    std::optional<FileError> error;
    auto opened = FileSystem::openFolder(WorkingFolder::path(), error);
    if (!opened)
        return false;
    disk.moveTo(*opened);
    folder = std::move(opened);
    return true;
}

// A folder removed and made again at its path is where the notebook goes,
// and the lock and the watch go there first.
void NotebookKeeper::folgeOrdner()
{
    const bool rejoined = WorkingFolder::rejoin();
    if ((rejoined || disk.files().folderGone()) && sperreNeu() && oeffneOrdner())
        watcher->removePaths(watcher->files() + watcher->directories());
    beobachte();
}

// Another copy started in the folder made again holds its lock: this one
// writes nothing there, and says so.
bool NotebookKeeper::sperreNeu()
{
    auto lock = std::make_unique<NotebookLock>();
    const std::string notebook = FileSystem::inFolder(WorkingFolder::path(), PageFile::kName);
    lockedOut = lock->take(notebook) == NotebookLock::Outcome::HeldElsewhere;
    if (lockedOut) {
        emit notice(QString::fromLatin1(kFileNotice), NotebookMessages::lockedOut());
        return false;
    }
    movedLock = std::move(lock);
    return true;
}

// Rescues made at an earlier end in this folder are told of once.
void NotebookKeeper::meldeGerettet()
{
    for (const std::string& rescue : Rescue::untold(WorkingFolder::path())) {
        emit notice(QStringLiteral("rescue"), NotebookMessages::rescuedBefore(rescue));
        Rescue::told(rescue);
    }
}

// A replaced file is a new one, and the watch on the old one ends with it;
// the folder's watch sees the new one come.
void NotebookKeeper::beobachte()
{
    const QFileInfo notebook(QString::fromLatin1(PageFile::kName));
    const QString file = notebook.canonicalFilePath();
    const QString holding = file.isEmpty() ? notebook.absolutePath() : QFileInfo(file).absolutePath();
    for (const QString& path : {file, holding})
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
    beginne(Occasion::BetweenTimes);
}

void NotebookKeeper::lookAtFile()
{
    beginne(Occasion::Look);
}

// A look or save asked for while a job runs comes after it, so that a
// change of the file seen during our own save is looked at after its outcome.
void NotebookKeeper::beginne(Occasion occasion)
{
    if (!watcher || ended)
        return;
    if (worker) {
        pending = std::max(pending.value_or(occasion), occasion);
        return;
    }
    folgeOrdner();
    if (lockedOut)
        return;
    emit pagesWanted();
    job = {occasion, store.hasUnsavedChanges(), store.changes(), store.pages().snapshot()};
    worker = QThread::create([this] { outcome = arbeite(job); });
    connect(worker, &QThread::finished, this, &NotebookKeeper::wendeAn);
    worker->start();
}

// Off the window's thread: it touches the file rule, the job's snapshot and
// the disk, and shows nothing.
NotebookKeeper::Outcome NotebookKeeper::arbeite(Job& work)
{
    Outcome result;
    result.error = disk.decide(work.ourChanges, jetzt(), result.answer);
    const auto step = result.answer.step;
    // A look writes nothing of ours: the pause after typing does.
    const bool ours = step != NotebookOnDisk::Step::Save || work.occasion != Occasion::Look;
    if (!result.error && writes(step) && ours) {
        result.wrote = true;
        const PageFile::Expected expected = disk.expected();
        result.writeError = PageFile::write(disk.files(), PageFile::kName, PageFile::kTempName, work.pages,
                                            &expected, result.saved);
        if (result.saved.written)
            disk.written(result.saved, std::move(work.pages), jetzt());
    }
    work.pages = PageList();
    disk.hashKnownPages();
    return result;
}

// Back on the window's thread once the job is done.
void NotebookKeeper::wendeAn()
{
    worker->wait();
    worker->deleteLater();
    worker = nullptr;
    Outcome done = std::move(outcome);
    const Occasion occasion = job.occasion;
    if (done.error)
        meldeFehler(*done.error, occasion);
    else if (done.answer.step == NotebookOnDisk::Step::Wait)
        warte(done.answer, occasion);
    else if (done.answer.step == NotebookOnDisk::Step::Load && store.changes() != job.changes)
        pending = std::max(pending.value_or(occasion), occasion); // typed meanwhile: decide again
    else if (done.answer.step == NotebookOnDisk::Step::Load)
        lade(done.answer);
    else if (done.wrote)
        wendeSchreibenAn(done, occasion, job.changes);
    else if (occasion != Occasion::Look)
        retry->stop();
    if (const auto next = std::exchange(pending, std::nullopt))
        QTimer::singleShot(0, this, [this, next] { beginne(*next); });
}

// Only the changes in the snapshot are saved; what was typed meanwhile
// waits for its own pause.
void NotebookKeeper::wendeSchreibenAn(Outcome& done, Occasion occasion, std::uint64_t changes)
{
    if (done.saved.written)
        store.markSaved(changes);
    if (!done.saved.asidePath.empty())
        melde(occasion, kFileNotice, NotebookMessages::bothKept(done.saved.asidePath),
              UserDialogs::Icon::Information);
    if (done.writeError && !done.saved.written) {
        meldeSchreibfehler(*done.writeError, occasion);
        return;
    }
    if (done.writeError)
        melde(occasion, kFileNotice, NotebookMessages::savedButNotAside(*done.writeError),
              UserDialogs::Icon::Warning);
    if (!done.saved.written) {
        settle->start();
        return;
    }
    failureTold = false;
    retry->stop();
    if (!store.hasUnsavedChanges())
        longest->stop();
    emit noticeOver(QString::fromLatin1(kSaveNotice));
}

bool NotebookKeeper::saveAtEnd()
{
    for (QTimer* each : {pause, retry, settle, quiet, longest})
        each->stop();
    if (worker) {
        wendeAn();
        pending.reset();
    }
    ended = sichereAmEnde();
    return ended;
}

bool NotebookKeeper::saveWithoutAsking()
{
    if (!watcher || ended)
        return true;
    if (worker) {
        worker->wait();
        if (outcome.saved.written)
            store.markSaved(job.changes);
    }
    ended = true;
    if (!store.hasUnsavedChanges())
        return true;
    NotebookOnDisk::Answer answer;
    if (!lockedOut && !disk.decide(true, jetzt(), answer) && writes(answer.step)) {
        const PageFile::Expected expected = disk.expected();
        PageFile::Saved saved;
        (void)store.schreibeDatei("Kelmo-Note", disk.files(), &expected, saved);
        if (saved.written)
            return true;
    }
    std::string rescue;
    rette(rescue);
    return false;
}

// The pages to a file of their own, never over anything.
bool NotebookKeeper::rette(std::string& rescuePath)
{
    if (Rescue::write(store.pages(), WorkingFolder::path(), rescuePath))
        return false;
    store.markSaved(store.changes());
    return true;
}

// The end waits for the disk on the window's thread: nothing else is to be
// done by then.
bool NotebookKeeper::sichereAmEnde()
{
    if (!watcher)
        return true;
    folgeOrdner();
    emit pagesWanted();
    std::string rescue;
    if (lockedOut) {
        const bool rescued = rette(rescue);
        dialogs.tell("Kelmo Note", NotebookMessages::endedLockedOut(rescued, rescue).toStdString(),
                     UserDialogs::Icon::Warning);
        return rescued;
    }
    // A file that changed just before ours would have replaced it is looked
    // at again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        NotebookOnDisk::Answer answer;
        if (auto error = entscheide(answer)) {
            meldeFehler(*error, Occasion::End);
            return false;
        }
        if (answer.step == NotebookOnDisk::Step::Wait)
            break;
        // Another program's change is not loaded at the end: it stays on
        // disk as it is, and nothing of ours changed.
        if (!writes(answer.step))
            return true;
        bool written = true;
        const bool done = schreibe(Occasion::End, written);
        if (!done || written)
            return done;
    }
    meldeSchreibfehler({PageFile::kName, "another program is still writing it"}, Occasion::End);
    return false;
}

// There is no later look: it waits a little for another program to finish
// writing.
std::optional<FileError> NotebookKeeper::entscheide(NotebookOnDisk::Answer& answer)
{
    const std::int64_t giveUp = jetzt() + kEndWaitMs;
    for (;;) {
        if (auto error = disk.decide(store.hasUnsavedChanges(), jetzt(), answer))
            return error;
        if (answer.step != NotebookOnDisk::Step::Wait || jetzt() >= giveUp)
            return std::nullopt;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min(answer.lookAgainMs, giveUp - jetzt())));
    }
}

bool NotebookKeeper::schreibe(Occasion occasion, bool& written)
{
    const PageFile::Expected expected = disk.expected();
    Outcome done;
    done.wrote = true;
    done.writeError = store.schreibeDatei("Kelmo-Note", disk.files(), &expected, done.saved);
    written = done.saved.written;
    if (done.saved.written)
        disk.written(done.saved, store.pages().snapshot(), jetzt());
    wendeSchreibenAn(done, occasion, store.changes());
    return !done.writeError || done.saved.written;
}

// Another program is still writing the notebook: ours stay in memory.
void NotebookKeeper::warte(const NotebookOnDisk::Answer& answer, Occasion occasion)
{
    if (answer.tellStillWriting)
        melde(occasion, kFileNotice, NotebookMessages::stillBeingWritten(), UserDialogs::Icon::Information);
    // Its own timer: the changes that keep coming must not put off the look
    // that finds the file quiet.
    quiet->start(static_cast<int>(answer.lookAgainMs));
}

// Nothing of ours changed: theirs is taken.
void NotebookKeeper::lade(NotebookOnDisk::Answer& answer)
{
    store.takePages(std::move(answer.theirs));
    disk.read(answer.theirsFound, store.pages().snapshot(), jetzt());
    emit pagesReloaded();
    if (const std::size_t part = answer.theirsFound.partBytes)
        emit notice(QString::fromLatin1(kFileNotice),
                    QString::fromStdString(store.partPageText(part, store.pageCount())));
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

// The program runs on after a failed end as well, so it keeps trying.
void NotebookKeeper::meldeFehler(const FileError& error, Occasion occasion)
{
    const QScopeGuard tryAgain([this] {
        if (store.hasUnsavedChanges())
            retry->start();
    });
    if (erstesMal(occasion))
        melde(occasion, kFileNotice, NotebookMessages::cannotReadChanged(error), UserDialogs::Icon::Critical);
}

// The retry starts once the message is closed: one that saved while the
// message was up would leave it saying the pages were not saved.
void NotebookKeeper::meldeSchreibfehler(const FileError& error, Occasion occasion)
{
    const QScopeGuard tryAgain([this] { retry->start(); });
    if (erstesMal(occasion))
        melde(occasion, kSaveNotice, NotebookMessages::cannotSave(error, occasion == Occasion::End),
              UserDialogs::Icon::Critical);
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
