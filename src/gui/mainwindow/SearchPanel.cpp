#include "SearchPanel.h"

#include "FindInAllPages.h"
#include "MainWindowControls.h"
#include "PageEditor.h"
#include "PageText.h"
#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/TextSearch.h"
#include "gui/common/EnterKey.h"
#include "gui/common/Placement.h"
#include "gui/common/WindowGeometry.h"
#include "gui/tray/WindowRoll.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SearchPanel::SearchPanel(const Window& window, FindInAllPages& allPages_, UserDialogs& dialogs_)
    : QObject(&window.window)
    , parts(window)
    , allPages(allPages_)
    , dialogs(dialogs_)
{}

void SearchPanel::build()
{
    if (Frame1)
        return;
    Frame1 = new QGroupBox(QStringLiteral("Search for:"), &parts.window);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFont(Placement::designedFont());
    Placement::place(Frame1, 0, MainWindowControls::kPanelTop, 4215, MainWindowControls::kPanelHeight);
    // Out of view, the panel must not take the focus nor be read out: it is
    // shown only while the window rolls down and stays down.
    Frame1->hide();

    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(Frame1->title());
    Placement::place(Text1, 120, 240, 3975, 405);

    Check1 = new QCheckBox(QStringLiteral("big/ small letters"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    Placement::place(Check1, 120, 720, 1815, 375);

    auto* search = new QPushButton(QStringLiteral("&Search"), Frame1);
    search->setObjectName(QStringLiteral("Searchbutton_0"));
    Placement::place(search, 2160, 720, 1935, 375);
    Searchbutton[0] = search;
    EnterKey::pressesButton(search);
    new EnterKey(Text1, [search] { search->click(); });
    connect(search, &QPushButton::clicked, this, &SearchPanel::searchClicked);
    // The panel's controls come right after the page.
    QWidget::setTabOrder(&parts.page, Text1);
    QWidget::setTabOrder(Text1, Check1);
    QWidget::setTabOrder(Check1, search);
}

bool SearchPanel::istUnten() const
{
    return parts.rollState.text() == QLatin1String("Up");
}

// The focus moves before the roll blocks the search button, so that it never
// passes on to the next button in the row. The roll state stays the caption
// of the hidden label, as designed. Where the roll ends is worked out again
// after it: the window manager may have told its frame only meanwhile.
void SearchPanel::toggle()
{
    WindowRoll& roll = parts.roll;
    if (istUnten()) {
        parts.page.setFocus();
        constexpr int closedBottom = MainWindowControls::kClientHeight;
        roll.rollUp(roll.minHeightFor(parts.geometry.outerHeight(closedBottom)));
        if (roll.hasStopped())
            return;
        roll.finish(parts.geometry.outerHeight(closedBottom));
        Frame1->hide();
        parts.rollState.setText(QStringLiteral("Down"));
        Text1->setText(QString());
    } else {
        build();
        Frame1->show();
        Text1->setFocus();
        constexpr int panelBottom = MainWindowControls::kPanelTop + MainWindowControls::kPanelHeight;
        roll.rollDown(roll.maxHeightFor(parts.geometry.outerHeight(panelBottom)));
        if (roll.hasStopped())
            return;
        roll.finish(parts.geometry.outerHeight(panelBottom));
        parts.rollState.setText(QStringLiteral("Up"));
    }
}

void SearchPanel::findNext()
{
    findNextOf(Text1->text(), Check1->isChecked());
}

void SearchPanel::findNextOf(const QString& term, bool matchCase)
{
    QPlainTextEdit& page = parts.page;
    QTextCursor cursor = page.textCursor();
    const TextSearch::Selection current{cursor.selectionStart(),
                                        cursor.selectionEnd() - cursor.selectionStart()};
    const TextSearch::Result result = TextSearch::next(PageText::utf16(page.document()->toRawText()),
                                                       PageText::utf16(term), matchCase, current);
    cursor.setPosition(result.selection.start);
    cursor.setPosition(result.selection.start + result.selection.length, QTextCursor::KeepAnchor);
    page.setTextCursor(cursor);
    if (!result.found)
        dialogs.tell(Product::kMessageTitle, ("Sorry, no '" + term + "' was found").toStdString(),
                     UserDialogs::Icon::None);
    page.setFocus();
}

void SearchPanel::findAgain()
{
    if (const auto word = allPages.wordOnPage())
        findNextOf(word->text, word->matchCase);
    else
        sucheImFeldWeiter();
}

void SearchPanel::sucheImFeldWeiter()
{
    // The panel comes down with an empty field, for a word: what is typed
    // into it while it rolls is that word, not one to look for yet.
    if (!istUnten()) {
        if (!parts.rollButton.isEnabled())
            return;
        parts.rollButton.click();
        if (!parts.roll.hasStopped())
            Text1->setFocus();
        return;
    }
    // With nothing to look for, the keys only open the panel for a word.
    if (Text1->text().isEmpty()) {
        Text1->setFocus();
        return;
    }
    Searchbutton[0]->click();
}
