#include "FormFixture.h"
#include "gui/mainwindow/FindWindow.h"

#include <QSignalSpy>
#include <QTimer>

namespace {

// Counts the changes of a window's pixel height and whether the search button
// was enabled during any of them.
class HeightWatch : public QObject {
public:
    HeightWatch(Form1& form)
        : form_(form)
    {
        form.installEventFilter(this);
    }
    int moves = 0;
    bool searchButtonEnabledDuringAMove = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) {
            ++moves;
            searchButtonEnabledDuringAMove |= form_.Command3->isEnabled();
        }
        return false;
    }

private:
    Form1& form_;
};

class SearchPanel : public FormFixture {
protected:
    void press() { QTest::mouseClick(form->Command3, Qt::LeftButton); }
    // From the panel, rolled down first where it is not.
    void search(const QString& term)
    {
        if (form->Label1->text() != QLatin1String("Up"))
            press();
        form->searchPanel().Text1->setText(term);
        QTest::mouseClick(form->searchPanel().Searchbutton.at(0), Qt::LeftButton);
    }
    QString selected() const { return form->RichTextBox1->textCursor().selectedText(); }
    int selectionStart() const { return form->RichTextBox1->textCursor().selectionStart(); }
};

TEST_F(SearchPanel, TheWindowRollsDownToShowThePanelAndBackUpToItsDesignedHeight)
{
    start(record(""));
    const QPoint place = form->pos();
    const int frame = form->frameGeometry().height() - form->height();
    HeightWatch watch(*form);

    press();
    EXPECT_EQ(form->height(), form->searchPanel().Frame1->geometry().bottom() + 1)
        << "the whole panel and no more";
    EXPECT_GE(form->Label1->y(), form->height()) << "the roll state stays out of view";
    EXPECT_EQ(form->frameGeometry().height() - form->height(), frame);
    EXPECT_EQ(form->Label1->text(), "Up");
    EXPECT_EQ(watch.moves, 80) << "299 steps of four twips change the height by 80 whole pixels";
    EXPECT_FALSE(watch.searchButtonEnabledDuringAMove);
    EXPECT_TRUE(form->Command3->isEnabled());
    EXPECT_EQ(form->focusWidget(), form->searchPanel().Text1);
    EXPECT_EQ(form->pos(), place);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->searchPanel().Frame1->visibleRegion().boundingRect().contains(
        form->searchPanel().Text1->geometry()));

    form->searchPanel().Text1->setText(QStringLiteral("word"));
    press();
    EXPECT_EQ(form->size(), QSize(280, 225)) << "the designed client area";
    EXPECT_EQ(form->Label1->text(), "Down");
    EXPECT_TRUE(form->searchPanel().Text1->text().isEmpty());
    EXPECT_FALSE(form->searchPanel().Frame1->isVisible()) << "out of view, the panel takes no focus";
    EXPECT_EQ(form->focusWidget(), form->RichTextBox1);
    EXPECT_EQ(form->pos(), place);
}

TEST_F(SearchPanel, AWindowHiddenInItsTallFormComesBackTall)
{
    start(record(""));
    press();
    const int tall = form->height();
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    tray.activate(TrayActivation::DoubleClick);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->height(), tall);
    EXPECT_EQ(form->Label1->text(), "Up");
}

TEST_F(SearchPanel, ClosingTheWindowDuringARollStopsItAndStillSaves)
{
    start(record(""));
    type(QStringLiteral("kept"));
    QSignalSpy ended(form.get(), &Form1::ended);
    int steps = 0;
    HeightWatch watch(*form);
    QTimer::singleShot(0, form.get(), [&] {
        steps = watch.moves;
        form->end_click();
    });
    press();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_LT(watch.moves, 299);
    EXPECT_EQ(watch.moves, steps) << "no step after the close";
    EXPECT_EQ(form->Label1->text(), "Down");
    EXPECT_EQ(readBytes("kel.kel"), record("kept"));
}

TEST_F(SearchPanel, SearchStepsThroughTheOccurrencesAndSaysWhenThereIsNone)
{
    start(record("abc abc"));
    press();
    search(QStringLiteral("abc"));
    EXPECT_EQ(selectionStart(), 0);
    EXPECT_EQ(selected(), "abc");
    search(QStringLiteral("abc"));
    EXPECT_EQ(selectionStart(), 4);
    EXPECT_TRUE(dialogs.boxes.empty());
    search(QStringLiteral("abc"));
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_EQ(form->RichTextBox1->textCursor().position(), 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Kelmo Note");
    EXPECT_EQ(dialogs.boxes[0].text, "Sorry, no 'abc' was found");
    EXPECT_EQ(dialogs.boxes[0].icon, UserDialogs::Icon::None);
    EXPECT_TRUE(form->RichTextBox1->hasFocus() || !form->isActiveWindow());
}

TEST_F(SearchPanel, CaseMattersOnlyWithTheCheckBoxAndLineBreaksCountOnce)
{
    start(record("x\r\nABC"));
    search(QStringLiteral("abc"));
    EXPECT_EQ(selectionStart(), 2);
    form->RichTextBox1->moveCursor(QTextCursor::Start);
    QTest::mouseClick(form->searchPanel().Check1, Qt::LeftButton);
    search(QStringLiteral("abc"));
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(SearchPanel, TypedTextReplacesTheFoundWordAndNoSearchTouchesThePages)
{
    start(record("buy milk") + record("two"));
    search(QStringLiteral("milk"));
    search(QStringLiteral("nothing"));
    EXPECT_EQ(form->pageStore().currentPage(), 1);
    EXPECT_EQ(form->pageStore().nachname().substr(0, 8), u"buy milk");
    search(QStringLiteral("milk"));
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("tea"));
    form->close();
    EXPECT_EQ(readBytes("kel.kel"), record("buy tea") + record("two"));
}

} // namespace

namespace {

// A word on two far pages, found from page 1 in the whole notebook: the
// window follows the typing, says what it found in itself, and going to a
// page shows it with the word selected, F3 going on there.
TEST_F(SearchPanel, FindInAllPagesListsThePagesAndGoesToTheWord)
{
    std::string notebook = record("Shopping: milk");
    for (int i = 2; i < 40; ++i)
        notebook += record("page " + std::to_string(i));
    notebook += record("Call the dentist.\r\nThe dentist is on Main Street.");
    start(notebook);
    form->hide();
    type(QStringLiteral("Dentist first. "));
    QTest::keyClick(form->RichTextBox1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    FindWindow* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* candidate = qobject_cast<FindWindow*>(top))
            window = candidate;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Find in all pages"));
    auto* field = window->findChild<QLineEdit*>();
    auto* count = window->findChild<QLabel*>(QStringLiteral("pagesFound"));
    QTest::keyClicks(field, "dentist");
    EXPECT_EQ(window->hitCount(), 2) << "the page shown counts with what is typed in it";
    EXPECT_EQ(count->text(), QStringLiteral("2 pages hold 'dentist'."));
    window->findChild<QCheckBox*>()->setChecked(true);
    EXPECT_EQ(window->hitCount(), 1);
    QTest::keyClicks(field, "x");
    EXPECT_EQ(window->hitCount(), 0);
    EXPECT_EQ(count->text(), QStringLiteral("No page holds 'dentistx'."));
    EXPECT_TRUE(dialogs.boxes.empty()) << "said in the window, with no message box";
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(form->isHidden()) << "shown from the tray to show the page";
    EXPECT_EQ(form->pageStore().currentPage(), 40);
    QTextCursor caret = form->RichTextBox1->textCursor();
    EXPECT_EQ(caret.selectedText(), QStringLiteral("dentist"));
    EXPECT_EQ(caret.selectionStart(), 9);
    QTest::keyClick(form->RichTextBox1, Qt::Key_F3);
    caret = form->RichTextBox1->textCursor();
    EXPECT_EQ(caret.selectionStart(), 22) << "a line break is one character";
    EXPECT_NE(form->Label1->text(), QStringLiteral("Up")) << "F3 there does not roll the panel down";
    field->clear();
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0141"));
    QApplication::sendEvent(field, &letter);
    EXPECT_EQ(window->hitCount(), 0) << "a character the code page lacks matches nothing";
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(readBytes("kel.kel").substr(0, 15), "Dentist first. ");
}

} // namespace
