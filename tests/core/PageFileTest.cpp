#include "Files.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"
#include "options/OptionsFile.h"
#include "store/BusinessDataTier.h"
#include "store/NotebookLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PageFile : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingDialogs dialogs;
    BusinessDataTier store{dialogs};

    void load()
    {
        const auto error = store.leseDatei("kel.kel");
        ASSERT_FALSE(error) << error->file << ": " << error->reason;
    }
    void save()
    {
        const auto error = store.schreibeDatei("Kelmo-Note");
        ASSERT_FALSE(error) << error->file << ": " << error->reason;
    }
};

std::string allByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    return bytes;
}

TEST_F(PageFile, EveryRecordIsAPageAndAPartRecordIsOneMoreFilledWithBlanks)
{
    writeBytes("kel.kel", record("one") + record("two") + record("three"));
    load();
    EXPECT_EQ(store.anzahlSeiten(), 3);
    EXPECT_EQ(store.nr(), 1);
    EXPECT_FALSE(store.hasUnsavedChanges());
    EXPECT_TRUE(dialogs.boxes.empty());

    struct Case {
        std::string bytes;
        std::int16_t pages;
    };
    for (const Case& c :
         {Case{record("one") + record("two") + std::string(500, 'x'), 3}, Case{std::string(1999, 'a'), 1}}) {
        dialogs.boxes.clear();
        writeBytes("kel.kel", c.bytes);
        load();
        EXPECT_EQ(store.anzahlSeiten(), c.pages);
        ASSERT_EQ(dialogs.boxes.size(), 1u) << "the user is told of the part record";
        EXPECT_NE(dialogs.boxes[0].text.find(std::to_string(c.bytes.size() % 2000) + " bytes"),
                  std::string::npos);
        save();
        EXPECT_EQ(readBytes("kel.kel"), c.bytes + std::string(1999 - (c.bytes.size() - 1) % 2000, ' '))
            << "no byte is dropped";
        EXPECT_FALSE(fs::exists("keltemp.kel"));
    }
}

TEST_F(PageFile, AnEmptyOrMissingNotebookGivesOneBlankPage)
{
    writeBytes("kel.kel", "");
    load();
    EXPECT_EQ(store.anzahlSeiten(), 1);
    EXPECT_EQ(store.nr(), 1);
    EXPECT_EQ(store.nachname(), std::u16string(2000, u' '));
    fs::remove("kel.kel");
    load();
    EXPECT_EQ(store.anzahlSeiten(), 1);
    EXPECT_TRUE(fs::exists("kel.kel")) << "a missing notebook is created";
    EXPECT_EQ(fs::file_size("kel.kel"), 0u);
}

TEST_F(PageFile, TextIsWrittenAsOneBytePerCharacterFilledWithBlanks)
{
    load();
    store.nachname(u"abc");
    save();
    const std::string bytes = readBytes("kel.kel");
    ASSERT_EQ(bytes.size(), 2000u);
    EXPECT_EQ(bytes.substr(0, 3), "abc");
    EXPECT_EQ(bytes.substr(3), std::string(1997, ' '));
}

TEST_F(PageFile, EveryByteValueSurvivesAReadAndASave)
{
    const std::string original = record(allByteValues()) + record(allByteValues() + "\r\n\r\n") + record("x");
    writeBytes("kel.kel", original);
    load();
    EXPECT_EQ(store.nachname()[0x80], u'\u20AC');
    EXPECT_EQ(store.nachname()[0x81], u'\u0081');
    save();
    EXPECT_EQ(readBytes("kel.kel"), original);
}

TEST_F(PageFile, CharactersOutsideTheCodePageAreWrittenAsQuestionMarks)
{
    load();
    store.nachname(u"\u20AC\u00E4\u4E2D\u0100");
    save();
    EXPECT_EQ(readBytes("kel.kel").substr(0, 4), "\x80\xE4??");
}

TEST_F(PageFile, RecordsFollowTheOrderOfThePagesInMemory)
{
    writeBytes("kel.kel", record("1") + record("2") + record("3"));
    load();
    store.vor();
    store.entferne();
    save();
    EXPECT_EQ(readBytes("kel.kel"), record("1") + record("3"));
}

TEST_F(PageFile, ALeftoverTemporaryFileNeverReachesTheNotebook)
{
    writeBytes("kel.kel", record("mine"));
    writeBytes("keltemp.kel", record("old 1") + record("old 2") + record("old 3"));
    load();
    save();
    EXPECT_EQ(readBytes("kel.kel"), record("mine"));
    EXPECT_FALSE(fs::exists("keltemp.kel"));
}

TEST_F(PageFile, ALinkedNotebookIsReplacedBehindItsLinkWithItsPermissions)
{
    fs::create_directory("real");
    writeBytes("real/notes.kel", record("before"));
    fs::permissions("real/notes.kel", fs::perms(0640));
    fs::create_symlink("real/notes.kel", "kel.kel");
    load();
    store.nachname(u"after");
    save();
    EXPECT_TRUE(fs::is_symlink("kel.kel"));
    EXPECT_EQ(readBytes("real/notes.kel"), record("after"));
    EXPECT_EQ(fs::status("real/notes.kel").permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::exists("keltemp.kel"));
    EXPECT_FALSE(fs::exists("real/keltemp.kel"));
}

TEST_F(PageFile, ATemporaryFileThatIsALinkIsNotFollowed)
{
    writeBytes("kel.kel", record("mine"));
    writeBytes("victim", "untouched");
    fs::create_symlink("victim", "keltemp.kel");
    load();
    save();
    EXPECT_EQ(readBytes("victim"), "untouched");
    EXPECT_EQ(readBytes("kel.kel"), record("mine"));
}

TEST_F(PageFile, ASaveIntoAReadOnlyFolderFailsAndLeavesTheNotebookAsItWas)
{
    const std::string original = record("kept");
    writeBytes("kel.kel", original);
    fs::permissions(folder.path(), fs::perms(0755));
    fs::permissions("kel.kel", fs::perms(0666));
    const int code = runAsUnprivilegedUser([&] {
        RecordingDialogs childDialogs;
        BusinessDataTier child(childDialogs);
        if (child.leseDatei("kel.kel"))
            return 1; // reading needs no write access
        child.nachname(u"changed");
        const auto error = child.schreibeDatei("Kelmo-Note");
        if (!error)
            return 2;
        if (error->reason.empty() || error->file.find("keltemp.kel") == std::string::npos)
            return 3;
        return child.nachname().substr(0, 7) == u"changed" ? 0 : 4;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readBytes("kel.kel"), original);
    EXPECT_FALSE(fs::exists("keltemp.kel"));
}

TEST_F(PageFile, ANotebookThatCannotBeReadIsReportedAndThePagesStay)
{
    store.nachname(u"in memory");
    fs::create_directory("kel.kel");
    auto error = store.leseDatei("kel.kel");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->file, "kel.kel");
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(store.nachname().substr(0, 9), u"in memory");
}

TEST_F(PageFile, TheLargestNotebookLoadsAndOneRecordMoreIsRefused)
{
    const auto largest = static_cast<std::uintmax_t>(kMaxSeiten) * 2000;
    writeBytes("kel.kel", record("first"));
    fs::resize_file("kel.kel", largest);
    load();
    EXPECT_EQ(store.anzahlSeiten(), kMaxSeiten);
    EXPECT_EQ(store.nachname().substr(0, 5), u"first");

    fs::resize_file("kel.kel", largest + 1);
    auto error = store.leseDatei("kel.kel");
    ASSERT_TRUE(error);
    EXPECT_NE(error->reason.find("32768 pages"), std::string::npos) << error->reason;
    EXPECT_EQ(fs::file_size("kel.kel"), largest + 1);
}

} // namespace

namespace {

TEST(UnreadableFiles, ANotebookAndOptionsTheUserMayNotReadAreReportedNotReplaced)
{
    TempFolder folder;
    writeBytes("kel.kel", record("secret"));
    writeBytes("optionen.kel", std::string(258, '\x01'));
    fs::permissions(folder.path(), fs::perms(0777));
    fs::permissions("kel.kel", fs::perms(0600));
    fs::permissions("optionen.kel", fs::perms(0600));
    const int code = runAsUnprivilegedUser([] {
        RecordingDialogs dialogs;
        BusinessDataTier store(dialogs);
        const auto error = store.leseDatei("kel.kel");
        if (!error || error->reason.find("ermission") == std::string::npos)
            return 1;
        Optionen options;
        return OptionsFile::read(OptionsFile::kName, options) ? 0 : 2;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readBytes("kel.kel"), record("secret"));
}

} // namespace

namespace {

constexpr uid_t kNobody = 65534;

// Which writes go where: owners, modes, links and things that are not files.
TEST_F(PageFile, WritesKeepOwnersAndModesAndRefuseWhatTheyMustNotTouch)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand files to another user";
    writeBytes("kel.kel", record("theirs"));
    ASSERT_EQ(::chown("kel.kel", kNobody, kNobody), 0);
    fs::permissions("kel.kel", fs::perms(0604));
    load();
    store.nachname(u"root was here");
    save();
    struct stat info {};
    ASSERT_EQ(::stat("kel.kel", &info), 0);
    EXPECT_EQ(info.st_uid, kNobody) << "root's save leaves the notebook its owner's";
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0604u);

    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* reason;
    };
    const Case refusals[] = {
        {"a read-only notebook", [] { fs::permissions("kel.kel", fs::perms(0444)); }, "read-only"},
        {"someone else's link to our file",
         [] {
             fs::rename("kel.kel", "real.kel");
             fs::create_symlink("real.kel", "kel.kel");
             ASSERT_EQ(::lchown("kel.kel", kNobody, kNobody), 0);
         },
         "link"},
        {"a pipe",
         [] {
             fs::remove("kel.kel");
             ASSERT_EQ(::mkfifo("kel.kel", 0644), 0);
         },
         "not a regular file"},
    };
    for (const Case& c : refusals) {
        SCOPED_TRACE(c.what);
        fs::remove("kel.kel");
        fs::remove("real.kel");
        writeBytes("kel.kel", record("before"));
        load();
        c.arrange();
        const std::string before = fs::is_fifo("kel.kel") ? std::string() : readBytes("kel.kel");
        store.nachname(u"after");
        auto error = store.schreibeDatei("Kelmo-Note");
        ASSERT_TRUE(error);
        EXPECT_NE(error->reason.find(c.reason), std::string::npos) << error->reason;
        if (!before.empty()) {
            EXPECT_EQ(readBytes("kel.kel"), before);
        }
        EXPECT_EQ(store.nachname().substr(0, 5), u"after") << "the pages stay";
        EXPECT_FALSE(fs::exists("keltemp.kel"));
        auto readError = store.leseDatei("kel.kel");
        EXPECT_EQ(fs::is_fifo("kel.kel"), readError.has_value()) << "a pipe is refused, never waited on";
    }

    // A link that belongs to the owner of its file is followed.
    fs::remove("kel.kel");
    writeBytes("real.kel", record("linked"));
    ASSERT_EQ(::chown("real.kel", kNobody, kNobody), 0);
    fs::create_symlink("real.kel", "kel.kel");
    ASSERT_EQ(::lchown("kel.kel", kNobody, kNobody), 0);
    load();
    store.nachname(u"through the link");
    save();
    EXPECT_EQ(readBytes("real.kel"), record("through the link"));
}

TEST(OptionsPlaces, APipeIsRefusedAndALinkOfAnotherUserIsNotWrittenThrough)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand a link to another user";
    TempFolder folder;
    ASSERT_EQ(::mkfifo(OptionsFile::kName, 0644), 0);
    Optionen options;
    EXPECT_TRUE(OptionsFile::read(OptionsFile::kName, options));
    EXPECT_TRUE(OptionsFile::write(OptionsFile::kName, options));

    fs::remove(OptionsFile::kName);
    writeBytes("elsewhere", std::string(300, 'z'));
    fs::create_symlink("elsewhere", OptionsFile::kName);
    ASSERT_EQ(::lchown(OptionsFile::kName, kNobody, kNobody), 0);
    EXPECT_TRUE(OptionsFile::write(OptionsFile::kName, {1, 2, 3}));
    EXPECT_EQ(readBytes("elsewhere"), std::string(300, 'z'));

    ASSERT_EQ(::lchown(OptionsFile::kName, 0, 0), 0);
    EXPECT_FALSE(OptionsFile::write(OptionsFile::kName, {1, 2, 3}));
    const std::string bytes = readBytes("elsewhere");
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(bytes.substr(258), std::string(42, 'z')) << "bytes past the options stay";
}

// How the store sees the file on disk after others have been at it.
TEST_F(PageFile, TheStoreTellsWhetherTheFileOnDiskIsStillTheOneItKnows)
{
    using State = BusinessDataTier::FileState;
    writeBytes("kel.kel", record("one"));
    load();
    auto state = [this] {
        State result{};
        const auto error = store.checkFile(result);
        EXPECT_FALSE(error);
        return result;
    };
    EXPECT_EQ(state(), State::AsKnown);

    writeBytes("copy", record("one"));
    fs::rename("copy", "kel.kel");
    EXPECT_EQ(state(), State::AsKnown) << "the same bytes are no change";

    writeBytes("copy", record("other"));
    fs::rename("copy", "kel.kel");
    EXPECT_EQ(state(), State::Replaced);
    store.vor();
    store.vor();
    ASSERT_FALSE(store.reload());
    EXPECT_EQ(store.nr(), 1) << "the page number where the notebook still has it";
    EXPECT_EQ(store.nachname().substr(0, 5), u"other");
    EXPECT_EQ(state(), State::AsKnown);

    store.nachname(u"mine");
    std::string aside;
    ASSERT_FALSE(store.moveFileAside(aside));
    EXPECT_EQ(aside.find(':'), std::string::npos);
    EXPECT_NE(aside.find("kel (changed elsewhere "), std::string::npos) << aside;
    EXPECT_EQ(readBytes(aside), record("other"));
    EXPECT_EQ(state(), State::Missing);
    save();
    EXPECT_EQ(state(), State::AsKnown);
    EXPECT_FALSE(store.hasUnsavedChanges());
}

TEST(NotebookLocks, EveryPathToOneNotebookMeetsTheSameLock)
{
    TempFolder folder;
    fs::create_directory("notes");
    writeBytes("notes/kel.kel", record("x"));
    fs::create_directory_symlink("notes", "same-folder");
    fs::create_directory("other");
    fs::create_symlink("../notes/kel.kel", "other/kel.kel");

    auto first = std::make_unique<NotebookLock>();
    ASSERT_EQ(first->take("notes/kel.kel"), NotebookLock::Outcome::Taken);
    for (const char* path : {"notes/kel.kel", "same-folder/kel.kel", "other/kel.kel"}) {
        NotebookLock second;
        EXPECT_EQ(second.take(path), NotebookLock::Outcome::HeldElsewhere) << path;
        EXPECT_EQ(second.identity(), first->identity()) << path;
    }
    NotebookLock elsewhere;
    EXPECT_EQ(elsewhere.take("kel.kel"), NotebookLock::Outcome::Taken);
    first.reset();
    NotebookLock after;
    EXPECT_EQ(after.take("same-folder/kel.kel"), NotebookLock::Outcome::Taken)
        << "a lock ends with its holder";
}

} // namespace
