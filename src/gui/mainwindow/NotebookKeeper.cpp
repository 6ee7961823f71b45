#include "NotebookKeeper.h"

#include "NotebookFolder.h"
#include "NotebookMessages.h"
#include "NotebookReports.h"
#include "core/common/Product.h"
#include "core/store/FileSystem.h"
#include "core/store/PageFile.h"
#include "core/store/Rescue.h"
#include "core/store/WorkingFolder.h"

#include <QScopeGuard>
#include <QThread>
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

} // namespace

NotebookKeeper::NotebookKeeper(BusinessDataTier& store_, UserDialogs& dialogs_, QObject* parent)
    : QObject(parent)
    , store(store_)
    , dialogs(dialogs_)
    , reports(new NotebookReports(dialogs_, this))
    , folder(new NotebookFolder(this))
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
    connect(reports, &NotebookReports::notice, this, &NotebookKeeper::notice);
    connect(reports, &NotebookReports::noticeOver, this, &NotebookKeeper::noticeOver);
    connect(folder, &NotebookFolder::notice, this, &NotebookKeeper::notice);
}

// A job under way holds a snapshot of the pages and the file rule: it is
// waited for.
NotebookKeeper::~NotebookKeeper()
{
    if (worker)
        worker->wait();
}

bool NotebookKeeper::loadAtStart()
{
    WorkingFolder::remember();
    if (FileSystem* opened = folder->open())
        disk.moveTo(*opened);
    PageFile::ReadInfo found;
    if (auto error = store.leseDatei(PageFile::kName, found)) {
        dialogs.tell(Product::kMessageTitle, NotebookMessages::cannotOpen(*error).toStdString(),
                     UserDialogs::Icon::Critical);
        return false;
    }
    disk.read(found, store.pages().snapshot(), NotebookOnDisk::nowMs());
    meldeGerettet();
    connect(folder, &NotebookFolder::changed, settle, qOverload<>(&QTimer::start));
    folder->watch();
    watching = true;
    return true;
}

// A folder removed and made again at its path is where the notebook goes.
void NotebookKeeper::folgeOrdner()
{
    if (FileSystem* moved = folder->follow(disk.files().folderGone()))
        disk.moveTo(*moved);
}

// Rescues made at an earlier end in this folder are told of once.
void NotebookKeeper::meldeGerettet()
{
    for (const std::string& rescue : Rescue::untold(WorkingFolder::path())) {
        reports->rescuedBefore(rescue);
        Rescue::told(rescue);
    }
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
    if (!watching || ended)
        return;
    if (worker) {
        pending = std::max(pending.value_or(occasion), occasion);
        return;
    }
    folgeOrdner();
    if (folder->lockedOut())
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
    result.error = disk.decide(work.ourChanges, NotebookOnDisk::nowMs(), result.answer);
    const auto step = result.answer.step;
    // A look writes nothing of ours: the pause after typing does.
    const bool ours = step != NotebookOnDisk::Step::Save || work.occasion != Occasion::Look;
    if (!result.error && NotebookOnDisk::writes(step) && ours) {
        result.wrote = true;
        const PageFile::Expected expected = disk.expected();
        result.writeError = PageFile::write(disk.files(), PageFile::kName, PageFile::kTempName, work.pages,
                                            &expected, result.saved);
        if (result.saved.written)
            disk.written(result.saved, std::move(work.pages), NotebookOnDisk::nowMs());
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
        meldeFehler(*done.error, occasion == Occasion::End);
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
        reports->bothKept(done.saved.asidePath, occasion == Occasion::End);
    if (done.writeError && !done.saved.written) {
        meldeSchreibfehler(*done.writeError, occasion == Occasion::End);
        return;
    }
    if (done.writeError)
        reports->savedButNotAside(*done.writeError, occasion == Occasion::End);
    if (!done.saved.written) {
        settle->start();
        return;
    }
    retry->stop();
    if (!store.hasUnsavedChanges())
        longest->stop();
    reports->saved();
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
    if (!watching || ended)
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
    if (!folder->lockedOut() && !disk.decide(true, NotebookOnDisk::nowMs(), answer) &&
        NotebookOnDisk::writes(answer.step)) {
        const PageFile::Expected expected = disk.expected();
        PageFile::Saved saved;
        (void)store.schreibeDatei(Product::kName, disk.files(), &expected, saved);
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
    if (!watching)
        return true;
    folgeOrdner();
    emit pagesWanted();
    std::string rescue;
    if (folder->lockedOut()) {
        const bool rescued = rette(rescue);
        dialogs.tell(Product::kMessageTitle, NotebookMessages::endedLockedOut(rescued, rescue).toStdString(),
                     UserDialogs::Icon::Warning);
        return rescued;
    }
    // A file that changed just before ours would have replaced it is looked
    // at again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        NotebookOnDisk::Answer answer;
        // There is no later look: it waits a little for another program to
        // finish writing.
        if (auto error = disk.decideWaiting(store.hasUnsavedChanges(), kEndWaitMs, answer)) {
            meldeFehler(*error, true);
            return false;
        }
        if (answer.step == NotebookOnDisk::Step::Wait)
            break;
        // Another program's change is not loaded at the end: it stays on
        // disk as it is, and nothing of ours changed.
        if (!NotebookOnDisk::writes(answer.step))
            return true;
        bool written = true;
        const bool done = schreibe(Occasion::End, written);
        if (!done || written)
            return done;
    }
    meldeSchreibfehler({PageFile::kName, "another program is still writing it"}, true);
    return false;
}

bool NotebookKeeper::schreibe(Occasion occasion, bool& written)
{
    const PageFile::Expected expected = disk.expected();
    Outcome done;
    done.wrote = true;
    done.writeError = store.schreibeDatei(Product::kName, disk.files(), &expected, done.saved);
    written = done.saved.written;
    if (done.saved.written)
        disk.written(done.saved, store.pages().snapshot(), NotebookOnDisk::nowMs());
    wendeSchreibenAn(done, occasion, store.changes());
    return !done.writeError || done.saved.written;
}

// Another program is still writing the notebook: ours stay in memory.
void NotebookKeeper::warte(const NotebookOnDisk::Answer& answer, Occasion occasion)
{
    if (answer.tellStillWriting)
        reports->stillBeingWritten(occasion == Occasion::End);
    // Its own timer: the changes that keep coming must not put off the look
    // that finds the file quiet.
    quiet->start(static_cast<int>(answer.lookAgainMs));
}

// Nothing of ours changed: theirs is taken.
void NotebookKeeper::lade(NotebookOnDisk::Answer& answer)
{
    store.takePages(std::move(answer.theirs));
    disk.read(answer.theirsFound, store.pages().snapshot(), NotebookOnDisk::nowMs());
    emit pagesReloaded();
    if (const std::size_t part = answer.theirsFound.partBytes)
        reports->partPageFound(store.partPageText(part, store.pageCount()));
}

// The program runs on after a failed end as well, so it keeps trying.
void NotebookKeeper::meldeFehler(const FileError& error, bool atEnd)
{
    const QScopeGuard tryAgain([this] {
        if (store.hasUnsavedChanges())
            retry->start();
    });
    reports->cannotRead(error, atEnd);
}

// The retry starts once the message is closed: one that saved while the
// message was up would leave it saying the pages were not saved.
void NotebookKeeper::meldeSchreibfehler(const FileError& error, bool atEnd)
{
    const QScopeGuard tryAgain([this] { retry->start(); });
    reports->cannotSave(error, atEnd);
}
