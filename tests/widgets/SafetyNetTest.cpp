#include "FormFixture.h"

#include <QTimer>

namespace {

class SafetyNet : public FormFixture {
protected:
    // Lets the pause after typing run out at once instead of in seconds.
    void pauseRunsOut()
    {
        auto* pause = form->findChild<QTimer*>();
        ASSERT_NE(pause, nullptr);
        ASSERT_TRUE(pause->isActive());
        EXPECT_EQ(pause->interval(), Form1::kRuhePauseMs);
        pause->setInterval(0);
        pause->start();
        QTest::qWait(20);
        pause->setInterval(Form1::kRuhePauseMs);
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
    EXPECT_EQ(form->seitenSpeicher().nr(), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SafetyNet, HidingWritesButOnlyWhenSomethingChanged)
{
    start(record("one"));
    writeBytes("kel.kel", record("changed by someone else"));
    form->mini_Click();
    EXPECT_EQ(readBytes("kel.kel"), record("changed by someone else")) << "nothing changed, nothing written";
    form->Möffnen_Click();
    click(2);
    form->mini_Click();
    EXPECT_EQ(readBytes("kel.kel"), record("one") + record(""));
}

TEST_F(SafetyNet, AFailingWriteBetweenTimesIsToldOnceAndTheEndStillSaves)
{
    start(record("one"));
    std::filesystem::create_directory("keltemp.kel");
    type(QStringLiteral("a"));
    pauseRunsOut();
    type(QStringLiteral("b"));
    pauseRunsOut();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(readBytes("kel.kel"), record("one"));
    std::filesystem::remove("keltemp.kel");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(readBytes("kel.kel"), record("baone"));
}

TEST_F(SafetyNet, TheFullestNotebookLoadsPagesAndRefusesOneMorePage)
{
    writeBytes("kel.kel", record("first"));
    std::filesystem::resize_file("kel.kel", static_cast<std::uintmax_t>(kMaxSeiten) * 2000);
    start();
    click(3);
    click(2);
    EXPECT_EQ(form->seitenSpeicher().anzahlSeiten(), kMaxSeiten);
    EXPECT_EQ(form->seitenSpeicher().nr(), kMaxSeiten);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("full"), std::string::npos);
    click(4);
    EXPECT_TRUE(editorText().startsWith(QStringLiteral("first")));
    form->close();
    EXPECT_EQ(std::filesystem::file_size("kel.kel"), static_cast<std::uintmax_t>(kMaxSeiten) * 2000);
}

} // namespace
