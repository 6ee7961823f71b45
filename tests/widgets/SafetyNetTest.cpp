#include "FormFixture.h"

#include "core/store/NotebookLock.h"
#include "gui/mainwindow/NotebookKeeper.h"

#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

class SafetyNet : public FormFixture {
protected:
    // Lets the pause after typing run out at once instead of in seconds.
    void pauseRunsOut()
    {
        auto* pause = form->findChild<QTimer*>(QStringLiteral("pauseAfterTyping"));
        ASSERT_NE(pause, nullptr);
        ASSERT_TRUE(pause->isActive());
        EXPECT_EQ(pause->interval(), NotebookKeeper::kPauseMs);
        pause->setInterval(0);
        pause->start();
        QTest::qWait(20);
        diskDone();
        pause->setInterval(NotebookKeeper::kPauseMs);
    }
};

TEST_F(SafetyNet, APauseAfterTypingWritesTheNotebookAndLeavesTheEditorAsItIs)
{
    start(record("one") + record("two"));
    type(QStringLiteral("new \u4E2D"));
    QTextCursor caret = form->RichTextBox1->textCursor();
    const QString shown = editorText();
    pauseRunsOut();
    EXPECT_EQ(readBytes("kel.kel"), record("new ?one") + record("two"));
    EXPECT_EQ(editorText(), shown);
    EXPECT_EQ(form->RichTextBox1->textCursor().position(), caret.position());
    EXPECT_EQ(form->pageStore().currentPage(), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
    while (form->RichTextBox1->document()->isUndoAvailable())
        form->RichTextBox1->undo();
    pauseRunsOut();
    EXPECT_EQ(readBytes("kel.kel"), record("one") + record("two")) << "typing undone is undone in the file";
}

TEST_F(SafetyNet, TypingThatNeverPausesIsSavedAtTheLatestFifteenSecondsAfterItsFirstKey)
{
    start(record("one"));
    type(QStringLiteral("a"));
    auto* longest = form->findChild<QTimer*>(QStringLiteral("longestUnsaved"));
    ASSERT_TRUE(longest && longest->isActive());
    EXPECT_EQ(longest->interval(), NotebookKeeper::kLongestUnsavedMs);
    const int left = longest->remainingTime();
    QTest::qWait(50);
    type(QStringLiteral("b"));
    EXPECT_LT(longest->remainingTime(), left) << "more typing does not put it off";
    longest->setInterval(0);
    longest->start();
    QTest::qWait(20);
    diskDone();
    EXPECT_EQ(readBytes("kel.kel"), record("baone")) << "saved while the pause after typing still runs";
    EXPECT_FALSE(longest->isActive());
}

TEST_F(SafetyNet, HidingWritesButOnlyWhenSomethingChanged)
{
    start(record("one"));
    writeBytes("kel.kel", record("changed by someone else"));
    form->mini_Click();
    diskDone();
    EXPECT_EQ(readBytes("kel.kel"), record("changed by someone else")) << "nothing changed, nothing written";
    form->Möffnen_Click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return editorText() == QStringLiteral("changed by someone else"); },
                                3 * NotebookOnDisk::kQuietMs))
        << "the other notebook is loaded once it is quiet";
    click(2);
    form->mini_Click();
    diskDone();
    EXPECT_EQ(readBytes("kel.kel"), record("changed by someone else") + record(""));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SafetyNet, AFailingWriteBetweenTimesIsToldOnceAndTheEndStillSaves)
{
    start(record("one"));
    std::filesystem::create_directory("keltemp.kel");
    type(QStringLiteral("a"));
    pauseRunsOut();
    type(QStringLiteral("b"));
    pauseRunsOut();
    EXPECT_TRUE(dialogs.boxes.empty()) << "it answers nothing the user did: a notice, no box";
    ASSERT_EQ(notices().count(), 1);
    EXPECT_NE(notices().textOf(0).indexOf(QStringLiteral("could not save")), -1)
        << notices().textOf(0).toStdString();
    EXPECT_EQ(readBytes("kel.kel"), record("one"));
    std::filesystem::remove("keltemp.kel");
    auto* retry = form->findChild<QTimer*>(QStringLiteral("retryAfterFailure"));
    ASSERT_TRUE(retry && retry->isActive()) << "a failed save is tried again without a keystroke";
    EXPECT_EQ(retry->interval(), NotebookKeeper::kRetryMs);
    retry->setInterval(0);
    retry->start();
    QTest::qWait(20);
    diskDone();
    EXPECT_EQ(readBytes("kel.kel"), record("baone"));
    EXPECT_FALSE(retry->isActive());
    EXPECT_EQ(notices().count(), 0) << "the notice goes once the notebook is saved";
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.boxes.empty());
}

// Another program (a file sync, a second computer) changes the notebook
// while it is open. Whatever happens, no side's notes are lost.
TEST_F(SafetyNet, ChangesMadeOnDiskByOthersAreNeverLost)
{
    namespace fs = std::filesystem;
    auto replaceWith = [](const std::string& bytes) {
        writeBytes("incoming", bytes);
        fs::rename("incoming", "kel.kel");
    };
    struct Case {
        const char* what;
        bool weEdit;
        std::function<void()> change;
        std::string notebook; // kel.kel after the end
        std::string aside;    // the other side's file moved aside, if any
        std::size_t told = 0; // messages besides the one naming the file aside
    };
    const Case cases[] = {
        {"nothing changes anywhere", false, [] {}, record("one"), ""},
        {"they replace it, we did not edit", false, [&] { replaceWith(record("theirs")); }, record("theirs"),
         ""},
        {"both sides edit", true, [&] { replaceWith(record("theirs")); }, record("mine one"),
         record("theirs")},
        {"they write it in place", true, [] { writeBytes("kel.kel", record("in place")); },
         record("mine one"), record("in place")},
        // As tools that keep times do, and within the time step of a file
        // system that counts whole seconds: the stamp looks as it was.
        {"they write it in place and put its time back", true,
         [] {
             struct stat was {};
             ::stat("kel.kel", &was);
             writeBytes("kel.kel", record("in place"));
             const struct timespec times[2] = {was.st_atim, was.st_mtim};
             ::utimensat(AT_FDCWD, "kel.kel", times, 0);
         },
         record("mine one"), record("in place")},
        {"they copy the same bytes over it", true, [&] { replaceWith(record("one")); }, record("mine one"),
         ""},
        {"they delete it", false, [] { fs::remove("kel.kel"); }, record("one"), ""},
        // The message about the part page is up while the folder changes
        // again: the page still shown must not go into the pages read.
        {"they replace it with one ending in a part page", false,
         [&] {
             dialogs.whileShown = [] {
                 writeBytes("other", "x");
                 QTest::qWait(3 * NotebookKeeper::kSettleMs);
             };
             replaceWith(record("theirs") + "half");
         },
         record("theirs") + "half", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder own;
        dialogs.boxes.clear();
        start(record("one"));
        struct stat before {};
        ::stat("kel.kel", &before);
        QTextCursor caret = form->RichTextBox1->textCursor();
        caret.setPosition(2);
        form->RichTextBox1->setTextCursor(caret);
        if (c.weEdit)
            type(QStringLiteral("mine "));
        c.change();
        if (!c.weEdit) {
            // The file watch takes the change in by itself, and the user
            // goes on typing where they were.
            auto shown = [this] {
                return editorText().toStdString() + std::string(2000 - editorText().size(), ' ');
            };
            EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == c.notebook.substr(0, 2000); }, 5000))
                << shown();
            EXPECT_EQ(form->RichTextBox1->textCursor().position(), 2);
        }
        EXPECT_TRUE(form->close());
        EXPECT_EQ(readBytes("kel.kel"), c.notebook);
        std::vector<fs::path> aside;
        for (const auto& entry : fs::directory_iterator("."))
            if (entry.path().filename() != "kel.kel" && entry.path().filename() != "optionen.kel" &&
                entry.path().filename() != "other")
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), c.aside.empty() ? 0u : 1u);
        EXPECT_EQ(dialogs.boxes.size() + static_cast<std::size_t>(notices().count()), aside.size() + c.told)
            << "the user is told where the other side's notes are";
        if (!c.aside.empty()) {
            EXPECT_EQ(readBytes(aside[0]), c.aside);
            EXPECT_NE(dialogs.boxes[0].text.find(aside[0].filename().string()), std::string::npos);
        }
        struct stat after {};
        ::stat("kel.kel", &after);
        if (std::string(c.what) == "nothing changes anywhere") {
            EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec)
                << "an unchanged notebook is not written";
        }
        form.reset();
    }
}

// The page asked about is gone once the notebook is read anew: what is in
// its place now is someone else's, not the user's to delete unseen.
TEST_F(SafetyNet, ADeleteAnsweredAfterTheNotebookWasReadAnewDeletesNothing)
{
    start(record("one") + record("two"));
    click(2);
    dialogs.whileShown = [] {
        writeBytes("incoming", record("their one") + record("their two"));
        std::filesystem::rename("incoming", "kel.kel");
        QTest::qWait(NotebookOnDisk::kQuietMs + 3 * NotebookKeeper::kSettleMs);
    };
    click(6);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_NE(dialogs.boxes[1].text.find("Nothing was deleted"), std::string::npos);
    EXPECT_EQ(editorText(), QStringLiteral("their two"));
    EXPECT_TRUE(form->close());
    EXPECT_EQ(readBytes("kel.kel"), record("their one") + record("their two"));
}

// A USB stick pulled and put back, a network share that went and came:
// the folder at the notebook's path is a new one.
TEST_F(SafetyNet, TheNotebooksFolderRemovedAndMadeAgainGetsThePages)
{
    start(record("one"));
    const std::filesystem::path place = std::filesystem::current_path();
    type(QStringLiteral("mine "));
    std::filesystem::remove_all(place);
    pauseRunsOut();
    ASSERT_EQ(notices().count(), 1);
    const std::string told = notices().textOf(0).toStdString();
    EXPECT_NE(told.find((place / "kel.kel").string()), std::string::npos)
        << "the notice names the folder to bring back";
    EXPECT_NE(told.find("nothing was written"), std::string::npos) << told;
    // The keyboard reaches the notice from the page with Ctrl+Tab, and
    // Escape closes it and hands the keyboard back.
    form->activateWindow();
    form->RichTextBox1->setFocus();
    QTest::keyClick(form->RichTextBox1, Qt::Key_Tab, Qt::ControlModifier);
    auto* close = notices().findChild<QToolButton*>();
    ASSERT_TRUE(close);
    ASSERT_TRUE(QTest::qWaitFor([close] { return close->hasFocus(); }, 1000))
        << "the window's activation comes later";
    QTest::keyClick(close, Qt::Key_Escape);
    EXPECT_EQ(notices().count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->RichTextBox1->hasFocus(); }, 1000));
    // Made again, the folder is first taken by another copy: ours writes
    // nothing there and says so; then it is free, and ours takes its lock.
    std::filesystem::create_directory(place);
    auto other = std::make_unique<NotebookLock>();
    ASSERT_EQ(other->take((place / "kel.kel").string()), NotebookLock::Outcome::Taken);
    type(QStringLiteral("x"));
    pauseRunsOut();
    EXPECT_FALSE(std::filesystem::exists(place / "kel.kel"));
    EXPECT_NE(notices().textOf(notices().count() - 1).indexOf(QStringLiteral("another Kelmo-Note")), -1);
    other.reset();
    type(QStringLiteral("y"));
    pauseRunsOut();
    EXPECT_EQ(readBytes(place / "kel.kel"), record("yxmine one"));
    NotebookLock second;
    EXPECT_EQ(second.take((place / "kel.kel").string()), NotebookLock::Outcome::HeldElsewhere)
        << "the lock follows the notebook";
    EXPECT_TRUE(form->close());
    EXPECT_EQ(readBytes(place / "kel.kel"), record("yxmine one"));
}

// A signal at logout with a notebook that cannot be written: nothing waits
// for an answer, the pages go to a rescue file, and the next start in that
// folder says where, once.
TEST_F(SafetyNet, AnEndThatCannotAskRescuesThePagesAndTheNextStartSaysWhere)
{
    const auto data = folder.path() / "data";
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.string()));
    auto restore = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
    start(record("one"));
    type(QStringLiteral("mine "));
    std::filesystem::create_directory("keltemp.kel");
    form->endWithoutAsking();
    EXPECT_TRUE(form->hasEnded());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(readBytes("kel.kel"), record("one"));
    std::vector<std::filesystem::path> rescued;
    for (const auto& entry : std::filesystem::directory_iterator(data / "kelmo-note"))
        if (entry.path().extension() == ".kel")
            rescued.push_back(entry.path());
    ASSERT_EQ(rescued.size(), 1u);
    EXPECT_EQ(
        rescued[0].filename().string().rfind("kel-rescue " + folder.path().filename().string() + " ", 0), 0u)
        << rescued[0];
    EXPECT_EQ(readBytes(rescued[0]), record("mine one"));

    for (const int told : {1, 0}) {
        form.reset();
        start();
        ASSERT_EQ(notices().count(), told);
        if (told) {
            EXPECT_NE(notices().textOf(0).indexOf(QString::fromStdString(rescued[0].string())), -1);
        }
    }
}

TEST_F(SafetyNet, AChangedNotebookThatCannotBeReadIsNeverWrittenOver)
{
    start(record("one"));
    type(QStringLiteral("mine "));
    writeBytes("incoming", record("x"));
    std::filesystem::resize_file("incoming", static_cast<std::uintmax_t>(kMaxPages) * 2000 + 1);
    std::filesystem::rename("incoming", "kel.kel");
    EXPECT_FALSE(form->close());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("does not write over it"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size("kel.kel"), static_cast<std::uintmax_t>(kMaxPages) * 2000 + 1);
    EXPECT_EQ(editorText(), QStringLiteral("mine one")) << "our pages stay";
    std::filesystem::remove("kel.kel");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(readBytes("kel.kel"), record("mine one"));
}

TEST_F(SafetyNet, TheFullestNotebookLoadsPagesAndRefusesOneMorePage)
{
    writeBytes("kel.kel", record("first"));
    std::filesystem::resize_file("kel.kel", static_cast<std::uintmax_t>(kMaxPages) * 2000);
    start();
    click(3);
    click(2);
    EXPECT_EQ(form->pageStore().pageCount(), kMaxPages);
    EXPECT_EQ(form->pageStore().currentPage(), kMaxPages);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("full"), std::string::npos);
    click(4);
    EXPECT_TRUE(editorText().startsWith(QStringLiteral("first")));
    form->close();
    EXPECT_EQ(std::filesystem::file_size("kel.kel"), static_cast<std::uintmax_t>(kMaxPages) * 2000);
}

} // namespace
