#include "FormFixture.h"
#include "core/options/OptionsFile.h"
#include "gui/options/Form2.h"

#include <QAccessible>
#include <QComboBox>
#include <QContextMenuEvent>

namespace {

std::string value(int v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string options(int flag, int size, int name)
{
    return value(flag) + std::string(126, '\0') + value(size) + std::string(126, '\0') + value(name);
}

using Tray = FormFixture;

TEST_F(Tray, TheIconComesAfterThePagesAndGoesBeforeTheWrite)
{
    start(record("page"));
    EXPECT_TRUE(tray.shown);
    EXPECT_EQ(tray.toolTip, "Kelmo-Note");
    EXPECT_FALSE(tray.icon.isNull());
    form->close();
    EXPECT_FALSE(tray.shown);
    EXPECT_EQ(tray.adds, 1);
    EXPECT_EQ(tray.removes, 1);
}

TEST_F(Tray, DoubleClickShowsTheWindowAndTheRightButtonOpensTheMenu)
{
    start(record(""));
    form->Command2->setFocus();
    form->mini_Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(tray.shown);
    for (const auto activation : {TrayActivation::Click, TrayActivation::MiddleClick, TrayActivation::Other})
        tray.activate(activation);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->popup_m->isVisible());

    tray.activate(TrayActivation::DoubleClick);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->focusWidget(), form->RichTextBox1) << "typing goes on in the page, not on Minimize";
    tray.activate(TrayActivation::DoubleClick);
    EXPECT_TRUE(form->isVisible());

    // The window manager's minimise is undone by every way of showing.
    for (QAction* show : {static_cast<QAction*>(nullptr), entry("Möffnen")}) {
        form->showMinimized();
        ASSERT_TRUE(form->isMinimized());
        show ? show->trigger() : tray.activate(TrayActivation::DoubleClick);
        EXPECT_FALSE(form->isMinimized());
        EXPECT_TRUE(form->isVisible());
    }

    // The menu is the icon's own, opened by the tray host; the program does
    // not open it a second time.
    EXPECT_EQ(tray.menu, form->popup_m);
    tray.activate(TrayActivation::Context);
    EXPECT_FALSE(form->popup_m->isVisible());
}

TEST_F(Tray, OnAStatusNotifierHostAClickShowsTheWindow)
{
    tray.kind = TrayHost::StatusNotifier;
    start(record(""));
    form->mini_Click();
    tray.activate(TrayActivation::Click);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Tray, MinimizeAndMaxsimizeHideAndShowWithoutTouchingTheIcon)
{
    start(record(""));
    const QSize size = form->size();
    entry("mini")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }));
    entry("Möffnen")->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), size);
    EXPECT_EQ(tray.adds, 1);
    EXPECT_EQ(tray.removes, 0);
}

TEST_F(Tray, StartHiddenLeavesOnlyTheIcon)
{
    writeBytes("optionen.kel", options(1, 0, 0));
    start(record(""));
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(tray.shown);
}

TEST_F(Tray, WithoutATrayTheWindowIsNeverHiddenAwayAndKeepsItsTaskbarEntry)
{
    tray.kind = TrayHost::None;
    writeBytes("optionen.kel", options(1, 0, 0));
    start(record(""));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::Tool));
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    EXPECT_TRUE(form->isMinimized() || form->isVisible());
    EXPECT_EQ(tray.adds, 0);
    EXPECT_EQ(form->focusWidget(), form->RichTextBox1)
        << "where the desktop leaves the window in place, typing goes on in the page";

    // The menu opens from the window itself, outside the editor.
    auto rightClick = [this](QWidget* where) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), where->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(where, &event);
    };
    rightClick(form->findChild<QLabel*>(QStringLiteral("Image1_6")));
    EXPECT_TRUE(form->popup_m->isVisible());
    form->popup_m->hide();
}

TEST_F(Tray, ATrayHostThatComesAndGoesIsFollowedAndTheWindowIsNeverStranded)
{
    tray.kind = TrayHost::None;
    start(record(""));
    tray.changeHost(TrayHost::StatusNotifier);
    EXPECT_TRUE(tray.shown) << "started before the tray host, the icon comes with it";
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(form->isVisible());
    form->Command2_Click();
    EXPECT_FALSE(form->isVisible());

    tray.changeHost(TrayHost::None);
    EXPECT_TRUE(form->isVisible()) << "hidden into a tray that went away";
    EXPECT_FALSE(form->isMinimized());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::Tool));
    form->Command2_Click();
    EXPECT_TRUE(form->isMinimized()) << "without a tray, Minimize minimises";

    tray.changeHost(TrayHost::Classic);
    EXPECT_TRUE(tray.shown);
    tray.activate(TrayActivation::DoubleClick);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    form->close();
    EXPECT_FALSE(tray.shown);
}

using StartOptions = FormFixture;

TEST_F(StartOptions, OnlyTheFlagOneHidesAndOnlyKnownIndicesChangeTheFont)
{
    for (const int flag : {-1, 2, 0}) {
        writeBytes("optionen.kel", options(flag, 9, 5));
        start(record(""));
        EXPECT_TRUE(form->isVisible()) << flag;
        const QFont designed = Form1(desktop).RichTextBox1->font();
        EXPECT_EQ(form->RichTextBox1->font().pointSizeF(), designed.pointSizeF());
        EXPECT_EQ(form->RichTextBox1->font().family(), designed.family());
        form->close();
    }
    writeBytes("optionen.kel", options(0, 5, 2));
    start(record(""));
    EXPECT_EQ(form->RichTextBox1->font().pointSize(), 14);
    EXPECT_EQ(form->RichTextBox1->font().family(), "Times New Roman");
}

TEST_F(StartOptions, AnUnreadableOptionsFileGivesTheDefaultsAndAMessage)
{
    std::filesystem::create_directory("optionen.kel");
    start(record("notes"));
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("optionen.kel"), std::string::npos);
    form->close();
    EXPECT_EQ(readBytes("kel.kel"), record("notes"));
}

class OptionsDialog : public FormFixture {
protected:
    Form2* open()
    {
        form->options_click();
        Form2* dialog = form->optionsDialog();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    void pick(QComboBox* combo, const QString& entry)
    {
        // Down from no selection, as far as the entry, with the keyboard.
        combo->setFocus();
        while (combo->currentText() != entry)
            QTest::keyClick(combo, Qt::Key_Down);
    }
    void typeInto(QComboBox* combo, const QString& text, Qt::Key ending = Qt::Key_Return)
    {
        combo->setFocus();
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), text);
        QTest::keyClick(combo->lineEdit(), ending);
    }
    Options stored()
    {
        Options o;
        EXPECT_FALSE(OptionsFile::read(OptionsFile::kName, o));
        return o;
    }
};

TEST_F(OptionsDialog, FirstUseShowsNothingChosenAndClosingStoresZeros)
{
    start(record(""));
    Form2* dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Options");
    EXPECT_TRUE(dialog->Combo1->currentText().isEmpty());
    EXPECT_TRUE(dialog->Combo2->currentText().isEmpty());
    EXPECT_FALSE(dialog->Check1->isChecked());
    EXPECT_EQ(dialog->Combo1->count(), 8);
    EXPECT_EQ(dialog->Combo1->itemText(0), "6");
    EXPECT_EQ(dialog->Combo2->itemText(3), "News Gothic MT");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog)->role(), QAccessible::Dialog);
    EXPECT_EQ(dialog->Label2->buddy(), dialog->Combo1) << "the labels name their fields";
    EXPECT_EQ(dialog->Label3->buddy(), dialog->Combo2);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    dialog->Combo1->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible()) << "Escape in an open list closes the list alone";
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    QTest::keyClick(dialog->Combo1, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible()) << "Escape closes it as the close box does";
    EXPECT_EQ(readBytes("optionen.kel"), options(0, 0, 0));
}

TEST_F(OptionsDialog, PickingASizeAppliesItAtOnceAndClosingStoresIt)
{
    start(record(""));
    Form2* dialog = open();
    pick(dialog->Combo1, QStringLiteral("14"));
    EXPECT_EQ(form->RichTextBox1->font().pointSize(), 14);
    pick(dialog->Combo2, QStringLiteral("Times New Roman"));
    EXPECT_EQ(form->RichTextBox1->font().family(), "Times New Roman");
    QTest::mouseClick(dialog->Check1, Qt::LeftButton);
    dialog->close();
    EXPECT_EQ(readBytes("optionen.kel"), options(1, 5, 2));
}

TEST_F(OptionsDialog, TypedTextIsStoredButNeverAppliedWhateverKeyEndsIt)
{
    struct Case {
        QString size;
        Qt::Key ending;
        int index;
        QString name;
        int nameIndex;
    };
    const Case cases[] = {
        {"012", Qt::Key_Return, 4, "arial", 0},       {"13", Qt::Key_Return, 0, "arial", 0},
        {"big", Qt::Key_Return, 0, "arial", 0},       {"14", Qt::Key_Return, 5, "Times New Roman", 2},
        {"14", Qt::Key_Tab, 5, "Times New Roman", 2}, {"14", Qt::Key_Enter, 5, "Arial", 1}};
    for (const auto& [text, ending, index, name, nameIndex] : cases) {
        start(record(""));
        const QFont before = form->RichTextBox1->font();
        Form2* dialog = open();
        typeInto(dialog->Combo1, text, ending);
        typeInto(dialog->Combo2, name, ending);
        EXPECT_EQ(form->RichTextBox1->font().pointSizeF(), before.pointSizeF()) << text.toStdString();
        EXPECT_EQ(form->RichTextBox1->font().family(), before.family()) << name.toStdString();
        dialog->close();
        EXPECT_EQ(stored().fontSize, index) << text.toStdString();
        EXPECT_EQ(stored().fontName, nameIndex);
        form->close();
    }
}

TEST_F(OptionsDialog, ReopeningShowsTheStoredChoiceWithoutTouchingTheEditor)
{
    writeBytes("optionen.kel", options(0, 3, 2));
    start(record(""));
    QFont changed = form->RichTextBox1->font();
    changed.setPointSize(17);
    form->RichTextBox1->setFont(changed);
    Form2* dialog = open();
    EXPECT_EQ(dialog->focusWidget(), dialog->Check1) << "opens with the check box, first in its order";
    EXPECT_EQ(dialog->Combo1->currentText(), "10");
    EXPECT_EQ(dialog->Combo2->currentText(), "Times New Roman");
    EXPECT_EQ(form->RichTextBox1->font().pointSize(), 17);
    dialog->showMinimized();
    form->options_click();
    EXPECT_EQ(form->optionsDialog(), dialog) << "a second Options brings the open dialog to the front";
    EXPECT_FALSE(dialog->isMinimized());
}

TEST_F(OptionsDialog, TheProgramsEndClosesTheDialogAndStoresTheOptions)
{
    start(record(""));
    Form2* dialog = open();
    pick(dialog->Combo1, QStringLiteral("8"));
    form->close();
    EXPECT_EQ(stored().fontSize, 2);
}

} // namespace
