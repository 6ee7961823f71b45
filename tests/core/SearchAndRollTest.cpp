#include "core/common/Twips.h"
#include "core/mainwindow/NotebookSearch.h"
#include "core/mainwindow/TextSearch.h"
#include "core/store/CodePage.h"
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

// The whole notebook, searched as the page search searches one page: each
// case lists the pages that hold the word and where the first place is in
// the editor's text ("page:position").
TEST(NotebookSearch, FindsEveryPageThatHoldsTheWordAsThePageSearchWould)
{
    const CodePage& codePage = CodePage::windows1252();
    auto page = [](const std::string& text) {
        auto seite = std::make_unique<Seite>();
        seite->inhalt.fill(' ');
        std::copy(text.begin(), text.end(), seite->inhalt.begin());
        return seite;
    };
    PageList pages;
    pages.insert(0, page("Dentist on Monday"));
    pages.insert(1, page("Shopping:\r\nmilk, bread\r\ndentist 0170"));
    pages.insert(2, page("den\r\ntist is no word here; \xC9"
                         "clair and \xE9"
                         "CLAIR"));
    auto empty = std::make_unique<Seite>();
    pages.insert(3, std::move(empty)); // never written: NULs
    pages.insert(4, page("last: DENTIST"));
    struct Case {
        std::u16string term;
        bool matchCase;
        std::vector<std::string> hits;
    };
    const Case cases[] = {
        {u"dentist", false, {"1:0", "2:22", "5:6"}},
        {u"dentist", true, {"2:22"}},
        {u"Dentist", true, {"1:0"}},
        {u"\u00E9clair", false, {"3:26"}},
        {u"\u00C9CLAIR", false, {"3:26"}},
        {u"\u00E9CLAIR", true, {"3:37"}},
        {u"den tist", false, {}},
        {u"  ", false, {}},
        {u"", false, {}},
        {u"\u0141ukasz", false, {}},
        {u"?", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.term.begin(), c.term.end()));
        const std::string term = NotebookSearch::termBytes(c.term, codePage);
        std::vector<std::string> found;
        for (const auto& hit : NotebookSearch::find(pages, term, c.matchCase, codePage)) {
            const std::string_view record(pages[hit.page - 1].inhalt.data(), kPageLength);
            found.push_back(std::to_string(hit.page) + ":" +
                            std::to_string(NotebookSearch::editorPosition(record, hit.offset)));
        }
        EXPECT_EQ(found, c.hits);
    }
    // The line around a place, and a long line cut around the word, whole.
    const std::string_view second(pages[1].inhalt.data(), kPageLength);
    const auto [start, end] = NotebookSearch::lineAround(second, 24, 7, 80);
    EXPECT_EQ(second.substr(start, end - start), "dentist 0170");
    const std::string longLine = std::string(300, 'x') + "needle" + std::string(300, 'y');
    const auto [from, to] = NotebookSearch::lineAround(longLine, 300, 6, 40);
    EXPECT_LE(to - from, 40u);
    EXPECT_NE(longLine.substr(from, to - from).find("needle"), std::string::npos);
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
