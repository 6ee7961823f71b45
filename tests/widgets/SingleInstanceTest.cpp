#include "app/SingleInstance.h"
#include "TempFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ASecondCopyInTheSameFolderHandsOverAndOneElsewhereRuns)
{
    TempFolder folder;
    const QString here = QString::fromStdString(folder.path().string());
    SingleInstance first(here);
    ASSERT_TRUE(first.claim());
    QSignalSpy shows(&first, &SingleInstance::showRequested);

    SingleInstance second(here);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(shows.wait(2000));
    EXPECT_EQ(shows.count(), 1);

    TempFolder elsewhere;
    SingleInstance other(QString::fromStdString(elsewhere.path().string()));
    EXPECT_TRUE(other.claim());
}

} // namespace
