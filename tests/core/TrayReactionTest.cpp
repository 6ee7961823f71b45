#include "core/tray/TrayReaction.h"

#include <gtest/gtest.h>

namespace {

TEST(TrayReaction, DoubleClickShowsTheWindowAndTheRightButtonIsLeftToTheTrayHost)
{
    using A = TrayActivation;
    using R = TrayReaction;
    const struct {
        A activation;
        R classic;
        R statusNotifier;
    } table[] = {
        {A::DoubleClick, R::ShowWindow, R::ShowWindow},
        {A::Click, R::Nothing, R::ShowWindow},
        {A::Context, R::Nothing, R::Nothing},
        {A::MiddleClick, R::Nothing, R::Nothing},
        {A::Other, R::Nothing, R::Nothing},
    };
    for (const auto& row : table) {
        EXPECT_EQ(trayReaction(row.activation, TrayHost::Classic), row.classic);
        EXPECT_EQ(trayReaction(row.activation, TrayHost::StatusNotifier), row.statusNotifier);
    }
}

} // namespace
