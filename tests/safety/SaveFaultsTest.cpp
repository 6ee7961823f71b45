#include "FaultInjection.h"
#include "Files.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"
#include "core/store/BusinessDataTier.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using FaultInjection::Op;

namespace {

// Enough pages that a save takes several writes.
constexpr int kPages = 2100;

std::string notebook(char mark)
{
    std::string bytes;
    for (int page = 0; page < kPages; ++page)
        bytes += record(std::string(1, mark) + " page " + std::to_string(page));
    return bytes;
}

class SaveFaults : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingDialogs dialogs;
    const std::string before = notebook('a');
    const std::string after = notebook('b');

    // A store that has read `before` and holds `after`.
    std::unique_ptr<BusinessDataTier> editedStore()
    {
        writeBytes("kel.kel", before);
        auto store = std::make_unique<BusinessDataTier>(dialogs);
        EXPECT_FALSE(store->leseDatei("kel.kel"));
        for (int page = 0; page < kPages; ++page) {
            const std::string text = "b page " + std::to_string(page);
            store->nachname(std::u16string(text.begin(), text.end()));
            if (page + 1 < kPages)
                store->vor();
        }
        return store;
    }
};

TEST_F(SaveFaults, EveryFailingFileOperationLeavesTheOldNotebookOrTheNewOneWhole)
{
    int injected = 0;
    for (const Op op : FaultInjection::kAllOps) {
        auto dryRun = editedStore();
        FaultInjection::arm(op, 0);
        ASSERT_FALSE(dryRun->schreibeDatei("Kelmo-Note"));
        FaultInjection::disarm();
        const int calls = FaultInjection::calls(op);

        for (int nth = 1; nth <= calls; ++nth) {
            SCOPED_TRACE(std::string(FaultInjection::name(op)) + " #" + std::to_string(nth));
            auto store = editedStore();
            FaultInjection::arm(op, nth);
            const auto error = store->schreibeDatei("Kelmo-Note");
            FaultInjection::disarm();
            ASSERT_TRUE(FaultInjection::failed());
            ++injected;

            // Only the old notebook, swapped out and not deleted, may stay
            // behind; the next save clears it.
            if (fs::exists("keltemp.kel")) {
                EXPECT_EQ(op, Op::Unlink);
                EXPECT_FALSE(error);
                EXPECT_EQ(readBytes("keltemp.kel"), before);
            }
            if (error) {
                EXPECT_EQ(readBytes("kel.kel"), before);
                EXPECT_FALSE(error->reason.empty());
            } else {
                EXPECT_EQ(readBytes("kel.kel"), after);
                EXPECT_TRUE(op == Op::ShortWrite || !FaultInjection::failedBeforeRename())
                    << "a failure before the notebook was replaced must be reported";
            }
            // Every page is still in memory, ready for the next try.
            store->erster();
            EXPECT_EQ(store->nachname().substr(0, 8), u"b page 0");
            ASSERT_FALSE(store->schreibeDatei("Kelmo-Note"));
            EXPECT_EQ(readBytes("kel.kel"), after);
        }
    }
    EXPECT_GE(injected, 15) << "every kind of call was reached";
    ::testing::Test::RecordProperty("faults_injected", injected);
    std::printf("faults injected into saves: %d\n", injected);
}

} // namespace
