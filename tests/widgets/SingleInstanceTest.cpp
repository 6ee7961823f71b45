#include "app/SingleInstance.h"
#include "TempFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Claim = SingleInstance::Claim;

TEST(SingleInstance, EveryPathToARunningNotebookHandsOverAndOtherNotebooksRun)
{
    TempFolder folder;
    fs::create_directories("notes");
    fs::create_directory_symlink("notes", "linked");
    fs::create_directories("elsewhere");
    SingleInstance first(QStringLiteral("notes/kel.kel"));
    ASSERT_EQ(first.claim(), Claim::Alone);
    QSignalSpy shows(&first, &SingleInstance::showRequested);

    SingleInstance second(QStringLiteral("linked/kel.kel"));
    EXPECT_EQ(second.claim(), Claim::ShownElsewhere);
    EXPECT_TRUE(shows.wait(2000));
    EXPECT_EQ(shows.count(), 1);

    // A copy with another runtime folder cannot reach the first one, and
    // must not run beside it either.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder.path() / "elsewhere"));
    SingleInstance unreachable(QStringLiteral("notes/kel.kel"));
    EXPECT_EQ(unreachable.claim(), Claim::OpenElsewhere);
    qputenv("XDG_RUNTIME_DIR", runtime);

    SingleInstance other(QStringLiteral("elsewhere/kel.kel"));
    EXPECT_EQ(other.claim(), Claim::Alone);
}

} // namespace
