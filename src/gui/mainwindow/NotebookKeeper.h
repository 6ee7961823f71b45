#pragma once

#include "core/desktop/UserDialogs.h"
#include "core/store/BusinessDataTier.h"
#include "core/store/NotebookOnDisk.h"

#include <QObject>
#include <QString>
#include <memory>

class NotebookFolder;
class NotebookReports;
class QThread;
class QTimer;

// Keeps the notebook on disk in step with the pages in memory: it writes
// them a little after typing stops, when the window is hidden and at the
// end, and it watches the file, so that a notebook changed by another
// program (a file sync, a second computer on a shared folder) is loaded or,
// where both sides changed, kept beside ours. Nothing is written that did
// not change. Between times the disk is used on a thread of its own, with a
// snapshot of the pages, so that typing never waits for it.
class NotebookKeeper : public QObject {
    Q_OBJECT

public:
    NotebookKeeper(BusinessDataTier& store, UserDialogs& dialogs, QObject* parent = nullptr);
    ~NotebookKeeper() override;

    // How long after the last keystroke the notebook is written.
    static constexpr int kPauseMs = 3000;
    // How long typing that goes on without a pause stays unsaved at most.
    static constexpr int kLongestUnsavedMs = 15000;
    // How often a failed save between times is tried again.
    static constexpr int kRetryMs = 30000;
    // How long after a change on disk it is looked at, so that one look
    // takes in a run of changes.
    static constexpr int kSettleMs = 500;
    // How long the end waits at most for another program to finish writing
    // the notebook.
    static constexpr int kEndWaitMs = 6000;

    // Reads the notebook and keeps it from then on. False when it could not
    // be read: the user has been told, and nothing will be written.
    bool loadAtStart();
    // Something was typed: the notebook is written when the typing pauses.
    void typed();
    // Writes what changed between times. A failure is told once per run of
    // failures, and the save is tried again while there are changes.
    void saveBetweenTimes();
    // Writes what changed at the end, after the save under way. False when
    // that failed; the user has been told, and every page is still in memory.
    bool saveAtEnd();
    // Looks whether the file changed on disk and takes the change in.
    void lookAtFile();
    // The end when nothing may wait for an answer (a signal, a display gone):
    // the pages go to the notebook, or where it cannot be written, to a
    // rescue file. Uses no window and no event loop. True when they are in
    // the notebook.
    bool saveWithoutAsking();
    // Whether the disk is being used on the keeper's thread.
    bool busy() const { return worker != nullptr; }

signals:
    // Before the pages are looked at or written: the editor's text must be
    // stored into the current page now.
    void pagesWanted();
    // The pages were loaded anew from disk and must be shown again.
    void pagesReloaded();
    // Something the user should know that answers nothing they did, under a
    // kind: one of the same kind takes the place of the one before.
    void notice(const QString& kind, const QString& text);
    // What the notice of `kind` told is over.
    void noticeOver(const QString& kind);

private:
    enum class Occasion { Look, BetweenTimes, End };

    // One look at the file, and the save it calls for, off the window's thread.
    struct Job {
        Occasion occasion = Occasion::Look;
        bool ourChanges = false;
        std::uint64_t changes = 0;
        PageList pages;
    };
    struct Outcome {
        std::optional<FileError> error;
        NotebookOnDisk::Answer answer;
        bool wrote = false;
        std::optional<FileError> writeError;
        PageFile::Saved saved;
    };

    void beginne(Occasion occasion);
    Outcome arbeite(Job& job);
    void wendeAn();
    void wendeSchreibenAn(Outcome& outcome, Occasion occasion, std::uint64_t changes);

    bool sichereAmEnde();
    bool schreibe(Occasion occasion, bool& written);

    void warte(const NotebookOnDisk::Answer& answer, Occasion occasion);
    void lade(NotebookOnDisk::Answer& answer);
    void meldeGerettet();
    bool rette(std::string& rescuePath);
    void folgeOrdner();
    void meldeFehler(const FileError& error, bool atEnd);
    void meldeSchreibfehler(const FileError& error, bool atEnd);

    BusinessDataTier& store;
    UserDialogs& dialogs;
    // Declared before the rule that reaches the disk through it.
    NotebookReports* reports;
    NotebookFolder* folder;
    NotebookOnDisk disk;
    QTimer* pause = nullptr;
    QTimer* retry = nullptr;
    QTimer* settle = nullptr;
    QTimer* quiet = nullptr;
    QTimer* longest = nullptr;
    bool watching = false;
    // The job under way, and the look or save asked for meanwhile.
    QThread* worker = nullptr;
    Job job;
    Outcome outcome;
    std::optional<Occasion> pending;
    // Saved at the end: nothing is looked at or written after.
    bool ended = false;
};
