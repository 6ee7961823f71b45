#include "core/common/Twips.h"
#include "core/mainwindow/TextSearch.h"
#include "core/tray/RollSteps.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using TextSearch::Selection;

// Presses the search button again and again, as a user would, and lists what
// each press selected: "start-length", or "none" for the not-found message.
std::vector<std::string> presses(std::u16string_view text, std::u16string_view term, bool matchCase,
                                 int count, Selection caret = {})
{
    std::vector<std::string> seen;
    for (int i = 0; i < count; ++i) {
        const auto result = TextSearch::next(text, term, matchCase, caret);
        caret = result.selection;
        seen.push_back(result.found ? std::to_string(caret.start + 1) + "-" + std::to_string(caret.length)
                                    : std::string("none"));
    }
    return seen;
}

TEST(TextSearch, RepeatedSearchesStepThroughAllOccurrencesFromTheCaret)
{
    EXPECT_EQ(presses(u"abcabc", u"abc", false, 4), (std::vector<std::string>{"1-3", "4-3", "none", "1-3"}));
    EXPECT_EQ(presses(u"aaaa", u"aa", false, 4), (std::vector<std::string>{"1-2", "2-2", "3-2", "none"}));
    EXPECT_EQ(presses(u"one two one", u"one", false, 1, {4, 0}), (std::vector<std::string>{"9-3"}));
    EXPECT_EQ(presses(u"one two", u"two", false, 1, {4, 0}), (std::vector<std::string>{"5-3"}))
        << "a word right at the caret is found";
}

TEST(TextSearch, TheCaseFlagDecidesWhetherLetterCaseMatters)
{
    EXPECT_EQ(presses(u"xabc", u"ABC", false, 1), (std::vector<std::string>{"2-3"}));
    EXPECT_EQ(presses(u"xabc", u"ABC", true, 1), (std::vector<std::string>{"none"}));
    EXPECT_EQ(presses(u"Grüße ÄRGER", u"äRger", false, 1), (std::vector<std::string>{"7-5"}));
    EXPECT_EQ(presses(u"\u0160koda \u0152uvre \u0178", u"\u0161KODA \u0153UVRE \u00FF", false, 1),
              (std::vector<std::string>{"1-13"}));
    EXPECT_EQ(TextSearch::folded(u'\u00D7'), u'\u00D7') << "the multiplication sign is no letter";
    EXPECT_EQ(TextSearch::folded(u'1'), u'1');
}

TEST(TextSearch, AnEmptyTermIsFoundAtTheCaretAndEmptyTextHasNothing)
{
    const auto atCaret = TextSearch::next(u"hello", u"", false, {2, 0});
    EXPECT_TRUE(atCaret.found);
    EXPECT_EQ(atCaret.selection.start, 2);
    EXPECT_EQ(atCaret.selection.length, 0);
    EXPECT_FALSE(TextSearch::next(u"hello", u"", false, {5, 0}).found);
    for (const std::u16string term : {u"", u"a"}) {
        const auto result = TextSearch::next(u"", term, false, {});
        EXPECT_FALSE(result.found);
        EXPECT_EQ(result.selection.start, 0);
    }
    EXPECT_FALSE(TextSearch::next(u"ab", u"abc", false, {}).found);
}

TEST(RollSteps, DownAndUpWithTheWindowsArgumentsReturnToTheStart)
{
    const float t = 15.0f;
    const std::int16_t down = RollSteps::down(3750, -170, t);
    EXPECT_EQ(down, 4);
    const float tall = 3750.0f + RollSteps::kCount * down;
    EXPECT_EQ(tall, 4946.0f);
    const std::int16_t up = RollSteps::up(tall, 250, t);
    EXPECT_EQ(up, 4) << "3.9867 rounds to 4";
    EXPECT_EQ(tall - RollSteps::kCount * up, 3750.0f);
}

TEST(RollSteps, ArgumentsForATargetBringTheWindowWithinAStepOfIt)
{
    // Heights in twips: from the designed short window to the panel shown and
    // back, with no frame, a thin and a thick title bar, at 96 and 192 DPI.
    for (const float t : {15.0f, 7.5f})
        for (const float frame : {0.0f, 300.0f, 900.0f}) {
            const float shortForm = 3375 + frame;
            const float tall = 4575 + frame;
            const float down = RollSteps::down(shortForm, RollSteps::maxHeightFor(shortForm, tall, t), t);
            EXPECT_LE(std::abs(shortForm + RollSteps::kCount * down - tall), 150.0f) << t << " " << frame;
            const float up = RollSteps::up(tall, RollSteps::minHeightFor(tall, shortForm, t), t);
            EXPECT_LE(std::abs(tall - RollSteps::kCount * up - shortForm), 150.0f) << t << " " << frame;
        }
}

TEST(RollSteps, SmallDistancesGiveNoStepAndNegativeOnesTurnAround)
{
    EXPECT_EQ(RollSteps::up(3750 + 150, 250, 15.0f), 0) << "half a twip per step rounds to the even 0";
    EXPECT_EQ(RollSteps::up(3750 - 150, 250, 15.0f), 0);
    EXPECT_EQ(RollSteps::up(3750 + 151, 250, 15.0f), 1);
    EXPECT_EQ(RollSteps::up(3750 - 900, 250, 15.0f), -3);
    EXPECT_EQ(RollSteps::down(1500, -170, 15.0f), -4);
    EXPECT_EQ(RollSteps::up(3750 + 450, 250, 15.0f), 2) << "1.5 rounds to the even 2";
}

TEST(TwipsGeometry, StepsSmallerThanAPixelAddUpWhileTheWindowKeepsItsPixels)
{
    EXPECT_EQ(Twips::current(250, 3754.0f, 15.0f), 3754.0f);
    EXPECT_EQ(Twips::current(251, 3754.0f, 15.0f), 3765.0f) << "someone else changed the window";
    EXPECT_EQ(Twips::current(250, -1.0f, 15.0f), 3750.0f);
}

} // namespace
