#include "PageView.h"

#include "PageEditor.h"
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/EditorText.h"
#include "core/store/BusinessDataTier.h"
#include "core/store/CodePage.h"

#include <QScrollBar>
#include <algorithm>

namespace {

QString characters(int count)
{
    return count == 1 ? QStringLiteral("1 character") : QStringLiteral("%1 characters").arg(count);
}

QString alteredPaste(int replaced, int leftOut)
{
    QStringList told;
    if (replaced > 0)
        told << QStringLiteral("%1 of what you pasted cannot be stored in a notebook page and %2 \"?\".")
                    .arg(characters(replaced),
                         replaced == 1 ? QStringLiteral("has become") : QStringLiteral("have become"));
    if (leftOut > 0)
        told << QStringLiteral(
                    "A page holds 2000 characters. %1 of what you pasted did not fit and %2 left out.")
                    .arg(characters(leftOut), leftOut == 1 ? QStringLiteral("was") : QStringLiteral("were"));
    return told.join(QStringLiteral("\n\n"));
}

} // namespace

PageView::PageView(PageEditor& editor_, UserDialogs& dialogs)
    : editor(editor_)
{
    QObject::connect(&editor, &PageEditor::textAltered, &editor, [&dialogs](int replaced, int leftOut) {
        dialogs.tell("Kelmo Note", alteredPaste(replaced, leftOut).toStdString(),
                     UserDialogs::Icon::Information);
    });
}

// The fill is not the user's text: a caret put after it would write beyond
// the page.
void PageView::show(const BusinessDataTier& store)
{
    shownPage = store.nachname();
    shownFromRead = store.timesRead();
    const std::u16string_view text = EditorText::withoutFill(shownPage);
    editor.setLineBreak(EditorText::lineBreakOf(text));
    const std::u16string shown = EditorText::fromPage(text);
    putting = true;
    editor.setPlainText(
        QString(reinterpret_cast<const QChar*>(shown.data()), static_cast<qsizetype>(shown.size())));
    putting = false;
    shownText = editor.document()->toRawText();
}

void PageView::showAgain(const BusinessDataTier& store)
{
    const int caret = editor.textCursor().position();
    const int scrolled = editor.verticalScrollBar()->value();
    show(store);
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(std::min(caret, editor.document()->characterCount() - 1));
    editor.setTextCursor(cursor);
    editor.verticalScrollBar()->setValue(scrolled);
}

void PageView::store(BusinessDataTier& store) const
{
    const QString text = editor.document()->toRawText();
    if (text == shownText) {
        // An edit stored meanwhile is undone; but a notebook another program
        // changed, read while its message was up, keeps its own page.
        if (store.timesRead() == shownFromRead)
            store.nachname(shownPage);
        return;
    }
    const std::u16string_view typed(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    store.nachname(EditorText::toPage(typed, CodePage::system(), editor.lineBreak()));
}
