#include "FormFixture.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTimer>

namespace {

using StartAndEnd = FormFixture;

TEST_F(StartAndEnd, ShowsPageOneWithoutTheBlanksThatFillItsRecord)
{
    start(record("first page") + record("second"));
    EXPECT_EQ(form->windowTitle(), "Kelmo-Note");
    EXPECT_EQ(editorText(), QStringLiteral("first page"));
    EXPECT_EQ(form->Label1->text(), "Down");
}

TEST_F(StartAndEnd, TypedTextIsInTheNotebookAfterTheWindowIsClosed)
{
    start(record("") + record("page two"));
    QSignalSpy ended(form.get(), &Form1::ended);
    type(QStringLiteral("Hello"));
    QTest::keyClick(form->RichTextBox1, Qt::Key_Return);
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("World"));
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ended.count(), 1);
    const std::string bytes = readBytes("kel.kel");
    ASSERT_EQ(bytes.size(), 4000u);
    EXPECT_EQ(bytes.substr(0, 14), "Hello\r\nWorld  ");
    EXPECT_EQ(bytes.substr(2000), record("page two"));
    EXPECT_TRUE(dialogs.boxes.empty()) << "the user is never asked whether to save";
}

TEST_F(StartAndEnd, EveryWayOutWritesExactlyOnce)
{
    start(record("a"));
    QSignalSpy ended(form.get(), &Form1::ended);
    type(QStringLiteral("b"));
    form->end_click();
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(readBytes("kel.kel"), record("ba"));

    writeBytes("kel.kel", record("changed outside"));
    EXPECT_TRUE(form->Form_Unload());
    form->close();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(readBytes("kel.kel"), record("changed outside"));
}

TEST_F(StartAndEnd, AnUntouchedPageGoesBackByteForByteWhateverItHolds)
{
    std::string odd;
    for (int i = 0; i < 256; ++i)
        odd.push_back(static_cast<char>(i));
    odd += "lone\rcarriage lone\nfeed \n\r\0\0 end  ";
    const std::string notebook = record(odd) + record("\xA0no-break\xA0");
    start(notebook);
    click(2);
    click(1);
    form->close();
    EXPECT_EQ(readBytes("kel.kel"), notebook);
}

// What the page cannot hold is shown as the '?' it is kept as, as it comes;
// a paste says so.
TEST_F(StartAndEnd, EditedTextHoldsOnlyWhatThePageFileCanHold)
{
    start(record(""));
    type(QStringLiteral("\u20AC \u4E2D"));
    // Told at once, naming the character and the code page, without a box;
    // the next character taken takes the notice away.
    ASSERT_EQ(notices().count(), 1);
    EXPECT_NE(notices().textOf(0).indexOf(QStringLiteral("\"\u4E2D\" cannot be kept")), -1);
    EXPECT_NE(notices().textOf(0).indexOf(QStringLiteral("Windows-1252")), -1);
    EXPECT_TRUE(dialogs.boxes.empty());
    form->RichTextBox1->moveCursor(QTextCursor::End);
    QTest::keyClicks(form->RichTextBox1, QStringLiteral(" "));
    EXPECT_EQ(notices().count(), 0);
    form->RichTextBox1->moveCursor(QTextCursor::Start);
    type(QStringLiteral("\u00E4 \U0001F600"));
    ASSERT_EQ(notices().count(), 1) << "notices of typing never pile up";
    EXPECT_EQ(editorText(), QStringLiteral("\u00E4 ?\u20AC ? "));
    form->RichTextBox1->clear();
    type(QStringLiteral("\u20AC ? \u00E4 ?"));
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\u03A9"));
    QApplication::sendEvent(form->RichTextBox1, &composed);
    EXPECT_NE(notices().textOf(0).indexOf(QStringLiteral("\u03A9")), -1) << "composed, too";
    // An accent that comes as a mark of its own after its letter is the
    // page's own letter with its accent.
    QApplication::clipboard()->setText(QStringLiteral("?\u00DF\U0001F600\u03A9e\u0301"));
    form->RichTextBox1->paste();
    EXPECT_EQ(editorText(), QStringLiteral("\u20AC ? \u00E4 ???\u00DF??\u00E9"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("2 characters of what you pasted cannot be stored"),
              std::string::npos)
        << dialogs.boxes[0].text;
    form->close();
    EXPECT_EQ(readBytes("kel.kel"), record("\x80 ? \xE4 ???\xDF??\xE9"));
}

TEST_F(StartAndEnd, TextBeyondAPageIsRefusedWhenItComesNeverCutLater)
{
    start(record("") + record("lf\nbreaks"));
    QApplication::clipboard()->setText(QString(1995, QLatin1Char('x')) +
                                       QStringLiteral("\r\n0123456\u03A9\U0001F6009"));
    form->RichTextBox1->paste();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("7 characters"), std::string::npos) << dialogs.boxes[0].text;
    EXPECT_EQ(dialogs.boxes[0].text.find("become"), std::string::npos)
        << "what was left out was not replaced";
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("yz"));
    QTest::keyClick(form->RichTextBox1, Qt::Key_Return);
    EXPECT_EQ(editorText(), QString(1995, QLatin1Char('x')) + QStringLiteral("\n012"))
        << "the paste took what fits, and typing into a full page is refused";
    ASSERT_EQ(notices().count(), 1) << "once for the run of refused keys";
    EXPECT_NE(notices().textOf(0).indexOf(QStringLiteral("2000 characters")), -1)
        << notices().textOf(0).toStdString();
    click(2);
    QTest::keyClick(form->RichTextBox1, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(form->RichTextBox1, QString(1995, QLatin1Char('-')));
    form->close();
    EXPECT_EQ(readBytes("kel.kel"),
              record(std::string(1995, 'x') + "\r\n012") + "lf\nbreaks" + std::string(1991, '-'))
        << "a page with LF breaks keeps them, so it holds one byte more than with CR LF";
}

TEST_F(StartAndEnd, AFailedSaveKeepsTheWindowThePagesAndTheNotebook)
{
    start(record("on disk"));
    std::filesystem::create_directory("keltemp.kel");
    QSignalSpy ended(form.get(), &Form1::ended);
    type(QStringLiteral("new "));
    EXPECT_FALSE(form->close());
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(readBytes("kel.kel"), record("on disk"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("keltemp.kel"), std::string::npos);
    EXPECT_NE(dialogs.boxes[0].text.find("kel.kel"), std::string::npos);

    // Running on, the program keeps trying without being asked to end again.
    std::filesystem::remove("keltemp.kel");
    auto* retry = form->findChild<QTimer*>(QStringLiteral("retryAfterFailure"));
    ASSERT_TRUE(retry && retry->isActive());
    retry->setInterval(0);
    retry->start();
    // The save runs off the window's thread, as long as the machine takes.
    EXPECT_TRUE(QTest::qWaitFor([] { return readBytes("kel.kel") == record("new on disk"); }, 10000))
        << readBytes("kel.kel");
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(form->close());
}

TEST_F(StartAndEnd, ANotebookThatCannotBeReadIsNeverWritten)
{
    std::filesystem::create_directory("kel.kel");
    form = std::make_unique<Form1>(desktop);
    EXPECT_FALSE(form->Form_Load());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("kel.kel"), std::string::npos);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(std::filesystem::is_directory("kel.kel"));
    EXPECT_FALSE(std::filesystem::exists("keltemp.kel"));
}

} // namespace
