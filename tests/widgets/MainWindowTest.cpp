#include "FormFixture.h"

#include <QScreen>

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
    const QList<QWidget*> expected = {form->RichTextBox1,       form->Text1,          form->Check1,
                                      form->Searchbutton.at(0), form->Command1.at(4), form->Command1.at(1),
                                      form->Command1.at(2),     form->Command1.at(3), form->Command3,
                                      form->Command1.at(6),     form->Command2};
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
    EXPECT_EQ(form->Text1->geometry(), QRect(8, 16, 265, 27));
    EXPECT_EQ(form->Label1->y(), 352);

    // Only the frame's top pixel row lies inside the window; its contents do not.
    EXPECT_EQ(form->Frame1->y(), form->height() - 1);
    EXPECT_GE(form->Frame1->mapTo(form.get(), form->Text1->pos()).y(), form->height());
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
    EXPECT_EQ(form->Searchbutton.at(0)->text(), "&Search");
    EXPECT_EQ(form->Check1->text(), "big/ small letters");
    EXPECT_EQ(form->Frame1->title(), "Search for:");
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
    EXPECT_EQ(entries, QStringList({"mini=Minimize", "Möffnen=Maxsimize", "-", "options=Options",
                                    "print=Print", "about=About Kelmo-Note", "-", "end=End"}));
    for (QAction* action : form->popup_m->actions()) {
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->isCheckable());
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
}

} // namespace
