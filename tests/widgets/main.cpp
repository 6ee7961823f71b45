#include "gui/common/FocusMarkStyle.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one QApplication for the whole run, on a screen as the
// windows were designed for unless the run names one of its own.
int main(int argc, char* argv[])
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KELMO_TEST_SCREENS "/screen-96dpi.json");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FocusMarkStyle::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
