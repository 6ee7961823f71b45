#include "PageFileFixture.h"
#include "core/store/NotebookLock.h"

namespace fs = std::filesystem;

namespace {

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
    EXPECT_EQ(store.pageCount(), 3);
    EXPECT_EQ(store.currentPage(), 1);
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
        EXPECT_EQ(store.pageCount(), c.pages);
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
    EXPECT_EQ(store.pageCount(), 1);
    EXPECT_EQ(store.currentPage(), 1);
    EXPECT_EQ(store.nachname(), std::u16string(2000, u' '));
    fs::remove("kel.kel");
    load();
    EXPECT_EQ(store.pageCount(), 1);
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
    const auto largest = static_cast<std::uintmax_t>(kMaxPages) * 2000;
    writeBytes("kel.kel", record("first"));
    fs::resize_file("kel.kel", largest);
    load();
    EXPECT_EQ(store.pageCount(), kMaxPages);
    EXPECT_EQ(store.nachname().substr(0, 5), u"first");

    fs::resize_file("kel.kel", largest + 1);
    auto error = store.leseDatei("kel.kel");
    ASSERT_TRUE(error);
    EXPECT_NE(error->reason.find("32768 pages"), std::string::npos) << error->reason;
    EXPECT_EQ(fs::file_size("kel.kel"), largest + 1);
}

TEST(NotebookLocks, OneNotebookOneLockThatEndsWithItsHolder)
{
    TempFolder folder;
    fs::create_directory("notes");
    writeBytes("notes/kel.kel", record("x"));
    auto first = std::make_unique<NotebookLock>();
    ASSERT_EQ(first->take("notes/kel.kel"), NotebookLock::Outcome::Taken);
    NotebookLock second;
    EXPECT_EQ(second.take("notes/kel.kel"), NotebookLock::Outcome::HeldElsewhere);
    EXPECT_EQ(second.identity(), first->identity());
    NotebookLock elsewhere;
    EXPECT_EQ(elsewhere.take("kel.kel"), NotebookLock::Outcome::Taken);
    first.reset();
    NotebookLock after;
    EXPECT_EQ(after.take("notes/kel.kel"), NotebookLock::Outcome::Taken) << "a lock ends with its holder";
}

} // namespace
