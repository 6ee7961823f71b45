#include "FormFixture.h"

#include "gui/common/AccessibleWindow.h"

#include <QAccessible>
#include <QScreen>
#include <QSignalSpy>

namespace {

using MainWindow = FormFixture;

QList<QWidget*> tabOrder(QWidget* first)
{
    QList<QWidget*> order{first};
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order.push_back(w);
    return order;
}

TEST_F(MainWindow, FocusRunsFromTheEditorThroughTheSearchPanelToTheButtons)
{
    start(record(""));
    form->searchPanel().build();
    const QList<QWidget*> expected = {form->RichTextBox1,
                                      form->searchPanel().Text1,
                                      form->searchPanel().Check1,
                                      form->searchPanel().Searchbutton.at(0),
                                      form->Command1.at(4),
                                      form->Command1.at(1),
                                      form->Command1.at(2),
                                      form->Command1.at(3),
                                      form->Command3,
                                      form->Command1.at(6),
                                      form->Command2};
    EXPECT_EQ(tabOrder(form->RichTextBox1), expected);
}

TEST_F(MainWindow, ControlsSitAtTheirDesignedPlacesAt96Dpi)
{
    start(record(""));
    ASSERT_EQ(form->screen()->logicalDotsPerInchY(), 96);
    const QPoint origin = form->screen()->geometry().topLeft();
    EXPECT_EQ(form->geometry(), QRect(origin + QPoint(739, 22), QSize(280, 225)));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "the frame is fixed";
    EXPECT_EQ(form->RichTextBox1->geometry(), QRect(32, 0, 249, 169));
    EXPECT_EQ(form->Command1.at(4)->geometry(), QRect(0, 184, 41, 41));
    EXPECT_EQ(form->Command2->geometry(), QRect(240, 184, 41, 41));
    EXPECT_EQ(form->Command2->geometry().bottom(), form->height() - 1) << "the buttons end the client area";
    form->searchPanel().build();
    EXPECT_EQ(form->searchPanel().Text1->geometry(), QRect(8, 16, 265, 27));
    EXPECT_EQ(form->Label1->y(), 352);

    // Only the frame's top pixel row lies inside the window; its contents do not.
    EXPECT_EQ(form->searchPanel().Frame1->y(), form->height() - 1);
    EXPECT_GE(form->searchPanel().Frame1->mapTo(form.get(), form->searchPanel().Text1->pos()).y(),
              form->height());
}

TEST_F(MainWindow, TheButtonsShowPicturesAndNameThemInTheirToolTips)
{
    start(record(""));
    const std::pair<QPushButton*, const char*> buttons[] = {
        {form->Command1.at(4), "First"}, {form->Command1.at(1), "Previous"}, {form->Command1.at(2), "Next"},
        {form->Command1.at(3), "Last"},  {form->Command3, "Search"},         {form->Command1.at(6), "Delete"},
        {form->Command2, "Minimize"},
    };
    for (const auto& [button, tip] : buttons) {
        EXPECT_EQ(button->toolTip(), tip);
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
    }
    form->searchPanel().build();
    EXPECT_EQ(form->searchPanel().Searchbutton.at(0)->text(), "&Search");
    EXPECT_EQ(form->searchPanel().Check1->text(), "big/ small letters");
    EXPECT_EQ(form->searchPanel().Frame1->title(), "Search for:");
}

TEST_F(MainWindow, TheWindowStaysOnTopWithOnlyACloseBox)
{
    start(record(""));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(MainWindow, ThePopupMenuHoldsItsEntriesInOrder)
{
    start(record(""));
    QStringList entries;
    for (QAction* action : form->popup_m->actions())
        entries << (action->isSeparator() ? QStringLiteral("-")
                                          : action->objectName() + "=" + action->text());
    EXPECT_EQ(entries,
              QStringList({"mini=Minimize", "Möffnen=Maxsimize", "-", "options=Options", "print=Print",
                           "about=About Kelmo-Note", "findall=Find in all pages...", "-", "end=End"}));
    for (QAction* action : form->popup_m->actions()) {
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->isCheckable());
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
}

// The name a control has as it takes the keyboard.
class NameOnFocus : public QObject {
public:
    explicit NameOnFocus(QWidget* control) { control->installEventFilter(this); }
    QString name;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            name = QAccessible::queryAccessibleInterface(watched)->text(QAccessible::Name);
        return false;
    }
};

TEST_F(MainWindow, ScreenReadersHearTheButtonsAndWhichPageIsShownButNotTheArtwork)
{
    start(record("one") + record("two"));
    auto name = [](QObject* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    for (QPushButton* button : {form->Command1.at(4), form->Command1.at(1), form->Command1.at(2),
                                form->Command1.at(3), form->Command3, form->Command1.at(6), form->Command2})
        EXPECT_EQ(name(button), button->toolTip());
    EXPECT_EQ(name(form->RichTextBox1), "Page 1 of 2");
    click(3);
    click(2);
    EXPECT_EQ(name(form->RichTextBox1), "Page 3 of 3") << "Next on the last page adds one";
    // A page button gives the keyboard back to the page, which a screen
    // reader then names: by the page now shown.
    NameOnFocus heard(form->RichTextBox1);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Command1.at(4)->setFocus();
    click(4);
    EXPECT_EQ(heard.name, "Page 1 of 3");
    form->searchPanel().build();
    EXPECT_EQ(name(form->searchPanel().Text1), "Search for:");

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    QStringList read;
    for (int i = 0; i < window->childCount(); ++i)
        read << window->child(i)->object()->objectName();
    EXPECT_EQ(read.size(), 9) << "the editor, the panel and the seven buttons: "
                              << read.join(' ').toStdString();
    EXPECT_FALSE(read.contains("Label1"));
    EXPECT_FALSE(read.contains("Image1_6"));
    EXPECT_EQ(window->indexOfChild(QAccessible::queryAccessibleInterface(form->Command2)),
              read.indexOf("Command2"));
}

// Keys as the keyboard sends them, held down when `held`.
void keys(QWidget* at, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool held = false)
{
    if (held) {
        QKeyEvent repeat(QEvent::KeyPress, key, modifiers, QString(), true);
        QApplication::sendEvent(at, &repeat);
    } else {
        QTest::keyClick(at, key, modifiers);
    }
}

TEST_F(MainWindow, TheKeyboardAloneReachesEveryCommandAndAHeldKeyRepeatsNothing)
{
    start(record("abc abc") + record("two"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QPlainTextEdit* editor = form->RichTextBox1;
    keys(editor, Qt::Key_PageDown, Qt::ControlModifier, true);
    keys(editor, Qt::Key_End, Qt::AltModifier, true);
    // X11 may send a repeat as a release and a press of the same moment.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_PageDown, Qt::ControlModifier);
    release.setTimestamp(42);
    QApplication::sendEvent(editor, &release);
    QKeyEvent again(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
    again.setTimestamp(42);
    QApplication::sendEvent(editor, &again);
    EXPECT_EQ(form->pageStore().currentPage(), 1) << "a held key repeats nothing";
    keys(editor, Qt::Key_End, Qt::AltModifier);
    keys(editor, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(form->pageStore().pageCount(), 3);
    keys(editor, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form->pageStore().currentPage(), 2);
    keys(editor, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(form->pageStore().currentPage(), 1);

    // Tab is a character on the page; Ctrl+Tab leaves the page for the
    // buttons, past the rolled-up panel, and moves on as Tab does elsewhere.
    editor->setFocus();
    form->setAttribute(Qt::WA_KeyboardFocusChange, false);
    keys(editor, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->focusWidget(), form->Command1.at(4));
    EXPECT_TRUE(form->testAttribute(Qt::WA_KeyboardFocusChange)) << "the button shows that it has the focus";
    keys(form->Command1.at(4), Qt::Key_Tab);
    keys(form->Command1.at(1), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->focusWidget(), form->Command1.at(2)) << "Ctrl+Tab moves on from a button too";
    keys(form->Command1.at(2), Qt::Key_Return);
    EXPECT_EQ(form->pageStore().currentPage(), 2) << "Enter presses the focused button";
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(form->Command1.at(2), &held);
    EXPECT_EQ(form->pageStore().currentPage(), 2);

    keys(form->Command1.at(4), Qt::Key_Home, Qt::AltModifier);
    keys(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(form->Label1->text(), "Up");
    EXPECT_EQ(form->focusWidget(), form->searchPanel().Text1);
    QTest::keyClicks(form->searchPanel().Text1, QStringLiteral("abc"));
    keys(form->searchPanel().Text1, Qt::Key_Return);
    EXPECT_EQ(editor->textCursor().selectedText(), "abc") << "Enter in the field searches";
    keys(editor, Qt::Key_F3);
    EXPECT_EQ(editor->textCursor().selectionStart(), 4) << "F3 finds again";
    keys(editor, Qt::Key_F3);
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "and says when there is no more";
    keys(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(form->Label1->text(), "Down");
    EXPECT_EQ(form->focusWidget(), editor);
    // Typed while the panel rolls down.
    QCoreApplication::postEvent(form->searchPanel().Text1,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
    keys(editor, Qt::Key_F3);
    EXPECT_EQ(form->Label1->text(), "Up") << "F3 rolls the panel down first";
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "and looks for nothing: the field is for a word";
    EXPECT_EQ(form->searchPanel().Text1->text(), "x");
    EXPECT_EQ(form->focusWidget(), form->searchPanel().Text1);
    keys(form->searchPanel().Text1, Qt::Key_F10, Qt::ShiftModifier);
    QWidget* fieldMenu = QApplication::activePopupWidget();
    EXPECT_TRUE(fieldMenu && fieldMenu != form->popup_m) << "in the search field, the field's own menu";
    if (fieldMenu)
        fieldMenu->close();

    form->Command1.at(2)->setFocus();
    keys(form->Command1.at(2), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(form->popup_m->isVisible()) << "the menu opens at the window";
    form->popup_m->hide();
    keys(editor, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printing.jobs.size(), 1u);
    QSignalSpy ended(form.get(), &Form1::ended);
    keys(editor, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(ended.count(), 1);
}

// Holds each key back and sends it again later, as Qt's screen-reader bridge
// does while a screen reader listens to the keyboard.
class ScreenReaderBridge : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) ||
            !event->spontaneous())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        QCoreApplication::postEvent(watched, new QKeyEvent(key->type(), key->key(), key->modifiers(),
                                                           key->text(), key->isAutoRepeat()));
        return true;
    }
};

TEST_F(MainWindow, KeysHeldBackByAScreenReaderActInTheOrderTyped)
{
    start(record("") + record("two"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ScreenReaderBridge bridge;
    qApp->installEventFilter(&bridge);
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("abc"));
    QTest::keyClick(form->RichTextBox1, Qt::Key_PageDown, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->pageStore().currentPage(), 2);
    EXPECT_EQ(form->RichTextBox1->toPlainText(), "two") << "the letters stay on the page they were typed on";
    form->pageStore().erster();
    EXPECT_EQ(form->pageStore().nachname().substr(0, 4), u"abc ");
    form->pageStore().vor();

    QTest::keyClick(form->RichTextBox1, Qt::Key_F, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QTest::keyClicks(form->searchPanel().Text1, QStringLiteral("two"));
    QTest::keyClick(form->searchPanel().Text1, Qt::Key_F3);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->searchPanel().Text1->text(), "two") << "the whole word is looked for";
    EXPECT_EQ(form->RichTextBox1->textCursor().selectedText(), "two");
    qApp->removeEventFilter(&bridge);
}

} // namespace
