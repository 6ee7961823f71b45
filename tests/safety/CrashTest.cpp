#include "Files.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"
#include "core/store/BusinessDataTier.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKills = 50;

std::string fullNotebook(char mark)
{
    std::string page = record(std::string(40, mark));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(kMaxPages) * page.size());
    for (int i = 0; i < kMaxPages; ++i)
        bytes += page;
    return bytes;
}

// Saves `store` in a child process and kills it after `delay`; returns how
// long the save would have run on its own when `delay` is none.
Clock::duration saveInChild(BusinessDataTier& store, std::optional<Clock::duration> delay)
{
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(store.schreibeDatei("Kelmo-Note") ? 1 : 0);
    if (delay) {
        std::this_thread::sleep_for(*delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return Clock::now() - start;
}

TEST(Crash, KillingASaveAtAnyMomentLeavesTheOldNotebookOrTheNewOne)
{
    TempFolder folder;
    RecordingDialogs dialogs;
    const std::string notebooks[2] = {fullNotebook('x'), fullNotebook('y')};
    BusinessDataTier stores[2] = {BusinessDataTier(dialogs), BusinessDataTier(dialogs)};
    for (int i = 0; i < 2; ++i) {
        writeBytes("kel.kel", notebooks[i]);
        ASSERT_FALSE(stores[i].leseDatei("kel.kel"));
    }
    int onDisk = 1;
    const auto whole = saveInChild(stores[0], std::nullopt);
    ASSERT_EQ(readBytes("kel.kel"), notebooks[0]);
    onDisk = 0;

    std::mt19937 random(20261207);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
    int keptOld = 0;
    int gotNew = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const int next = 1 - onDisk;
        saveInChild(stores[next], std::chrono::microseconds(moment(random)));
        const std::string now = readBytes("kel.kel");
        if (now == notebooks[onDisk]) {
            ++keptOld;
        } else {
            ASSERT_EQ(now, notebooks[next])
                << "after kill " << kill << " the notebook is neither old nor new";
            ++gotNew;
            onDisk = next;
        }
    }
    std::printf("saves killed: %d (old notebook kept %d times, new one complete %d times)\n", kKills, keptOld,
                gotNew);
}

} // namespace
