#include "core/store/NotebookOnDisk.h"
#include "core/store/Rescue.h"

#include "Files.h"
#include "RecordingDialogs.h"
#include "SteppingFileSystem.h"
#include "TempFolder.h"
#include "core/store/BusinessDataTier.h"
#include <cstdlib>

#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Step = NotebookOnDisk::Step;

void replaceWith(const std::string& bytes)
{
    writeBytes("incoming", bytes);
    fs::rename("incoming", "kel.kel");
}

std::vector<fs::path> asideFiles()
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().filename().string().rfind("kel (changed elsewhere ", 0) == 0)
            found.push_back(entry.path());
    return found;
}

// Another program's change, against the store and the file rule with a clock
// the test sets: times are milliseconds after the notebook was read.
class NotebookOnDiskTest : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingDialogs dialogs;
    SteppingFileSystem files;
    std::unique_ptr<BusinessDataTier> store;
    std::unique_ptr<NotebookOnDisk> disk;

    // A store and a file rule that have just read `bytes` from kel.kel.
    void load(const std::string& bytes)
    {
        writeBytes("kel.kel", bytes);
        store = std::make_unique<BusinessDataTier>(dialogs);
        disk = std::make_unique<NotebookOnDisk>(files, "kel.kel");
        PageFile::ReadInfo found;
        ASSERT_FALSE(store->leseDatei("kel.kel", found));
        disk->read(found, store->pages().snapshot(), 0);
    }
    NotebookOnDisk::Answer look(std::int64_t at)
    {
        NotebookOnDisk::Answer answer;
        EXPECT_FALSE(disk->decide(store->hasUnsavedChanges(), at, answer));
        return answer;
    }
    PageFile::Saved save(std::int64_t at)
    {
        const PageFile::Expected expected = disk->expected();
        PageFile::Saved saved;
        EXPECT_FALSE(PageFile::write(files, "kel.kel", "keltemp.kel", store->pages(), &expected, saved));
        if (saved.written)
            disk->written(saved, store->pages().snapshot(), at);
        return saved;
    }
};

TEST_F(NotebookOnDiskTest, AChangeIsActedOnOnlyOnceTheFileIsQuietAndThenByTheSideThatChanged)
{
    struct Look {
        std::int64_t at;
        std::function<void()> before;
        Step step;
    };
    struct Case {
        const char* what;
        bool weEdit;
        std::vector<Look> looks;
    };
    auto nothing = [] {};
    auto theirs = [] { replaceWith(record("theirs")); };
    const Case cases[] = {
        {"nothing changes", false, {{5000, nothing, Step::Nothing}}},
        {"only we change", true, {{5000, nothing, Step::Save}}},
        {"they replace it",
         false,
         {{5000, theirs, Step::Wait}, {6000, nothing, Step::Wait}, {7000, nothing, Step::Load}}},
        {"both change", true, {{5000, theirs, Step::Wait}, {7000, nothing, Step::KeepBoth}}},
        {"they copy the same bytes over it",
         true,
         {{5000, [] { replaceWith(record("one")); }, Step::Wait}, {7000, nothing, Step::Save}}},
        {"they delete it", false, {{5000, [] { fs::remove("kel.kel"); }, Step::Restore}}},
        {"they empty it",
         false,
         {{5000, [] { writeBytes("kel.kel", ""); }, Step::Wait}, {7000, nothing, Step::Restore}}},
        // Truncated, then a record every 1.2 s, opened anew each time.
        {"a slow writer",
         false,
         {{5000, [] { writeBytes("kel.kel", ""); }, Step::Wait},
          {6200, [] { writeBytes("kel.kel", record("1")); }, Step::Wait},
          {7400, [] { writeBytes("kel.kel", record("1") + record("2")); }, Step::Wait},
          {8600, [] { writeBytes("kel.kel", record("1") + record("2") + record("3")); }, Step::Wait},
          {10600, nothing, Step::Load}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder own;
        load(record("one"));
        if (c.weEdit)
            store->nachname(u"mine");
        for (const Look& l : c.looks) {
            SCOPED_TRACE(l.at);
            l.before();
            NotebookOnDisk::Answer answer = look(l.at);
            EXPECT_EQ(answer.step, l.step);
            EXPECT_TRUE(answer.step != Step::Wait || answer.lookAgainMs >= 100);
        }
    }
}

TEST_F(NotebookOnDiskTest, AWriterThatGoesOnIsToldOnceAndAChangeRightAfterOurSaveIsOneOnBothSides)
{
    load(record("one"));
    std::string bytes;
    int told = 0;
    for (std::int64_t at = 1000; at < 40000; at += 1200) {
        bytes += record("more");
        writeBytes("kel.kel", bytes);
        const auto answer = look(at);
        EXPECT_EQ(answer.step, Step::Wait);
        told += answer.tellStillWriting ? 1 : 0;
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(look(42000).step, Step::Load);

    // Saved at 50 s with nothing changed since; a program that opens the
    // file by name writes into ours half a second later.
    store->nachname(u"mine");
    ASSERT_TRUE(save(50000).written);
    writeBytes("kel.kel", record("theirs"));
    EXPECT_EQ(look(50500).step, Step::Wait);
    EXPECT_EQ(look(52600).step, Step::KeepBoth) << "we changed nothing since, and still keep both";
}

// What a save finds in the notebook's place when it puts ours there, with
// another program acting between its steps.
TEST_F(NotebookOnDiskTest, ASaveNeverReplacesAFileItHasNotComparedAndTheNotebookIsNeverMissing)
{
    struct Case {
        const char* what;
        bool noExchange;
        const char* when;
        std::function<void()> act;
        bool written;
        std::string notebook;
        std::string aside;
    };
    const Case cases[] = {
        {"untouched", false, "", [] {}, true, record("mine"), ""},
        {"replaced during the save", false, "exchange", [] { replaceWith(record("theirs")); }, true,
         record("mine"), record("theirs")},
        {"written in place during the save", false, "exchange",
         [] { writeBytes("kel.kel", record("in place")); }, true, record("mine"), record("in place")},
        {"the same bytes copied over it", false, "exchange", [] { replaceWith(record("one")); }, true,
         record("mine"), ""},
        {"made anew after it was deleted", false, "renameToNew", [] { writeBytes("kel.kel", record("new")); },
         true, record("mine"), record("new")},
        {"no swap, untouched", true, "", [] {}, true, record("mine"), ""},
        {"no swap, replaced right before the rename", true, "exchange", [] { replaceWith(record("theirs")); },
         false, record("theirs"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder own;
        load(record("one"));
        store->nachname(u"mine");
        if (std::string(c.when) == "renameToNew")
            fs::remove("kel.kel");
        files.noExchange = c.noExchange;
        bool acted = false;
        bool missing = false;
        files.before = [&](const std::string& step, const std::string&) {
            missing = missing || (!fs::exists("kel.kel") && std::string(c.when) != "renameToNew");
            if (step == c.when && !acted) {
                acted = true;
                c.act();
            }
        };
        const PageFile::Saved saved = save(5000);
        files.before = nullptr;
        EXPECT_FALSE(missing) << "the notebook is there at every step";
        EXPECT_EQ(saved.written, c.written);
        EXPECT_EQ(readBytes("kel.kel"), c.notebook);
        EXPECT_FALSE(fs::exists("keltemp.kel"));
        const auto aside = asideFiles();
        ASSERT_EQ(aside.size(), c.aside.empty() ? 0u : 1u);
        if (!c.aside.empty()) {
            EXPECT_EQ(readBytes(aside[0]), c.aside);
            EXPECT_EQ(fs::path(saved.asidePath).filename(), aside[0].filename());
        }
    }
}

// A save writes a snapshot while typing goes on: the snapshot keeps the
// pages as they were, shares every page not changed since, and marks as
// saved only the changes it holds.
TEST_F(NotebookOnDiskTest, ASaveOfASnapshotKeepsThePagesAsTheyWereAndMarksOnlyItsChangesSaved)
{
    load(record("one") + record("two") + record("three"));
    store->nachname(u"typed before");
    const std::uint64_t changes = store->changes();
    PageList snapshot = store->pages().snapshot();
    store->nachname(u"typed during the save");
    store->vor();
    store->neu();
    EXPECT_EQ(&snapshot[1], &store->pages()[1]) << "an unchanged page is shared, not copied";
    EXPECT_NE(&snapshot[0], &store->pages()[0]);
    PageList again = snapshot.snapshot();
    store->erster();
    store->nachname(u"and once more");
    EXPECT_EQ(std::string(again[0].inhalt.data(), 12), "typed before");

    ASSERT_FALSE(PageFile::write("kel.kel", "keltemp.kel", snapshot));
    store->markSaved(changes);
    EXPECT_TRUE(store->hasUnsavedChanges()) << "what was typed during the save is not saved by it";
    EXPECT_EQ(readBytes("kel.kel"), record("typed before") + record("two") + record("three"));
    store->markSaved(store->changes());
    EXPECT_FALSE(store->hasUnsavedChanges());
}

// Rescues at the same moment each get a file of their own; nothing there is
// written over, and each is told of once.
TEST_F(NotebookOnDiskTest, ARescueNeverWritesOverAnythingAndIsToldOnce)
{
    const std::string data = (folder.path() / "data").string();
#ifdef _WIN32
    _putenv_s("LOCALAPPDATA", data.c_str());
#else
    setenv("XDG_DATA_HOME", data.c_str(), 1);
#endif
    load(record("one"));
    const std::string notebook = (folder.path() / "notes").string();
    fs::create_directories(Rescue::folder());
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    const std::string taken = (fs::path(Rescue::folder()) / Rescue::fileName(notebook, now, 1)).string();
    writeBytes(taken, "someone's");
    std::string first;
    std::string second;
    ASSERT_FALSE(Rescue::write(store->pages(), notebook, first));
    ASSERT_FALSE(Rescue::write(store->pages(), notebook, second));
    EXPECT_EQ(readBytes(taken), "someone's");
    EXPECT_NE(first, second);
    EXPECT_EQ(readBytes(first), record("one"));
    EXPECT_EQ(readBytes(second), record("one"));
    EXPECT_EQ(fs::path(first).filename().string().rfind("kel-rescue notes ", 0), 0u) << first;
    EXPECT_EQ(Rescue::untold(notebook).size(), 2u);
    EXPECT_TRUE(Rescue::untold((folder.path() / "other").string()).empty());
    Rescue::told(first);
    Rescue::told(second);
    EXPECT_TRUE(Rescue::untold(notebook).empty());
}

} // namespace
