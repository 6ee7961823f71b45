#include "Files.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"
#include "core/store/BusinessDataTier.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A file system of 256 KiB made for the test: room for a notebook of 100
// pages, but not for a second, larger copy of it beside the first.
class FullDisk : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingDialogs dialogs;
    bool mounted = false;

    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP()
                << "making a small file system needs root; run the suite as root to include this test";
        fs::create_directory("small");
        if (::mount("tmpfs", "small", "tmpfs", 0, "size=256k") != 0)
            GTEST_SKIP() << "this machine does not allow mounting a tmpfs: " << std::strerror(errno);
        mounted = true;
        fs::current_path("small");
    }
    void TearDown() override
    {
        if (!mounted)
            return;
        fs::current_path(folder.path());
        ::umount("small");
    }
};

TEST_F(FullDisk, ASaveThatDoesNotFitLeavesTheNotebookAndTheDiskAsTheyWere)
{
    std::string original;
    for (int page = 0; page < 100; ++page)
        original += record("page " + std::to_string(page));
    writeBytes("kel.kel", original);

    BusinessDataTier store(dialogs);
    ASSERT_FALSE(store.leseDatei("kel.kel"));
    store.letzter();
    for (int page = 0; page < 40; ++page)
        store.vor();
    store.nachname(u"the last of 140 pages");

    const auto error = store.schreibeDatei("Kelmo-Note");
    ASSERT_TRUE(error);
    EXPECT_NE(error->reason.find("space"), std::string::npos) << error->reason;
    EXPECT_EQ(readBytes("kel.kel"), original);
    EXPECT_FALSE(fs::exists("keltemp.kel"));
    EXPECT_EQ(store.pageCount(), 140);

    // Once there is room again, the same pages are saved.
    while (store.pageCount() > 20)
        store.entferne();
    ASSERT_FALSE(store.schreibeDatei("Kelmo-Note"));
    EXPECT_EQ(fs::file_size("kel.kel"), 20u * 2000);
}

} // namespace
