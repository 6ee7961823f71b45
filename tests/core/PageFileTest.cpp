#include "Files.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"
#include "options/OptionsFile.h"
#include "store/BusinessDataTier.h"

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

TEST_F(PageFile, WholeRecordsArePagesAndATrailingPartIsDropped)
{
    writeBytes("kel.kel", record("one") + record("two") + record("three"));
    load();
    EXPECT_EQ(store.anzahlSeiten(), 3);
    EXPECT_EQ(store.nr(), 1);

    writeBytes("kel.kel", record("one") + record("two") + std::string(500, 'x'));
    load();
    EXPECT_EQ(store.anzahlSeiten(), 2);
    save();
    EXPECT_EQ(readBytes("kel.kel"), record("one") + record("two"));
    EXPECT_FALSE(fs::exists("keltemp.kel"));
}

TEST_F(PageFile, ANotebookWithoutAWholeRecordGivesOneBlankPage)
{
    for (const std::string& bytes : {std::string(), std::string(1999, 'a')}) {
        writeBytes("kel.kel", bytes);
        load();
        EXPECT_EQ(store.anzahlSeiten(), 1);
        EXPECT_EQ(store.nr(), 1);
        EXPECT_EQ(store.nachname(), std::u16string(2000, u' '));
    }
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
    fs::permissions("kel.kel", fs::perms(0644));
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
    fs::resize_file("kel.kel", largest + 1999);
    load();
    EXPECT_EQ(store.anzahlSeiten(), kMaxSeiten);
    EXPECT_EQ(store.nachname().substr(0, 5), u"first");

    fs::resize_file("kel.kel", largest + 2000);
    auto error = store.leseDatei("kel.kel");
    ASSERT_TRUE(error);
    EXPECT_NE(error->reason.find("32768 pages"), std::string::npos) << error->reason;
    EXPECT_EQ(fs::file_size("kel.kel"), largest + 2000);
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
