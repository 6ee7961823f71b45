#include "SearchPanel.h"

#include "MainWindowControls.h"
#include "PageEditor.h"
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/TextSearch.h"
#include "gui/common/WindowGeometry.h"
#include "gui/tray/WindowRoll.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

std::u16string toU16(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

SearchPanel::SearchPanel(MainWindowControls& controls_, WindowGeometry& geometry_, WindowRoll& roll_,
                         UserDialogs& dialogs_, std::function<bool()> closed_)
    : controls(controls_)
    , geometry(geometry_)
    , roll(roll_)
    , dialogs(dialogs_)
    , closed(std::move(closed_))
{}

// The focus moves before the roll blocks the search button, so that it never
// passes on to the next button in the row. The roll state stays the caption
// of the hidden label, as designed. Where the roll ends is worked out again
// after it: the window manager may have told its frame only meanwhile.
void SearchPanel::toggle(const std::function<void(std::int16_t)>& rollUp,
                         const std::function<void(std::int16_t)>& rollDown)
{
    if (controls.Label1->text() == QLatin1String("Up")) {
        controls.RichTextBox1->setFocus();
        rollUp(roll.minHeightFor(geometry.outerHeight(MainWindowControls::kClientHeight)));
        if (closed())
            return;
        roll.finish(geometry.outerHeight(MainWindowControls::kClientHeight));
        controls.Frame1->hide();
        controls.Label1->setText(QStringLiteral("Down"));
        controls.Text1->setText(QString());
    } else {
        controls.baueSuchfeld();
        controls.Frame1->show();
        controls.Text1->setFocus();
        constexpr int panelBottom = MainWindowControls::kPanelTop + MainWindowControls::kPanelHeight;
        rollDown(roll.maxHeightFor(geometry.outerHeight(panelBottom)));
        if (closed())
            return;
        roll.finish(geometry.outerHeight(panelBottom));
        controls.Label1->setText(QStringLiteral("Up"));
    }
}

void SearchPanel::findNext()
{
    findNextOf(controls.Text1->text(), controls.Check1->isChecked());
}

void SearchPanel::findNextOf(const QString& term, bool matchCase)
{
    QPlainTextEdit& page = *controls.RichTextBox1;
    QTextCursor cursor = page.textCursor();
    const TextSearch::Selection current{cursor.selectionStart(),
                                        cursor.selectionEnd() - cursor.selectionStart()};
    const TextSearch::Result result =
        TextSearch::next(toU16(page.document()->toRawText()), toU16(term), matchCase, current);
    cursor.setPosition(result.selection.start);
    cursor.setPosition(result.selection.start + result.selection.length, QTextCursor::KeepAnchor);
    page.setTextCursor(cursor);
    if (!result.found)
        dialogs.tell("Kelmo Note", ("Sorry, no '" + term + "' was found").toStdString(),
                     UserDialogs::Icon::None);
    page.setFocus();
}

void SearchPanel::findAgain()
{
    // The panel comes down with an empty field, for a word: what is typed
    // into it while it rolls is that word, not one to look for yet.
    if (controls.Label1->text() != QLatin1String("Up")) {
        if (!controls.Command3->isEnabled())
            return;
        controls.Command3->click();
        if (!closed())
            controls.Text1->setFocus();
        return;
    }
    // With nothing to look for, the keys only open the panel for a word.
    if (controls.Text1->text().isEmpty()) {
        controls.Text1->setFocus();
        return;
    }
    controls.Searchbutton[0]->click();
}
