#include "PageView.h"

#include "PageText.h"

#include "PageEditor.h"
#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/EditorText.h"
#include "core/store/BusinessDataTier.h"
#include "core/store/CodePage.h"

#include <QScrollBar>
#include <algorithm>
#include <map>

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
        dialogs.tell(Product::kMessageTitle, alteredPaste(replaced, leftOut).toStdString(),
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
    editor.setPlainText(PageText::fromUtf16(shown));
    putting = false;
    shownText = editor.document()->toRawText();
    benenne(store);
}

// Named before the page takes the keyboard: a screen reader reads the name
// the page has as the keyboard comes to it.
void PageView::benenne(const BusinessDataTier& notebook)
{
    editor.setAccessibleName(
        QStringLiteral("Page %1 of %2").arg(notebook.currentPage()).arg(notebook.pageCount()));
}

void PageView::turn(BusinessDataTier& notebook, std::int16_t button)
{
    static const std::map<std::int16_t, void (BusinessDataTier::*)()> moves = {
        {1, &BusinessDataTier::zurueck}, {2, &BusinessDataTier::vor},      {3, &BusinessDataTier::letzter},
        {4, &BusinessDataTier::erster},  {6, &BusinessDataTier::entferne},
    };
    store(notebook);
    auto place = [&notebook] { return std::pair{notebook.currentPage(), notebook.pageCount()}; };
    const auto before = place();
    if (const auto move = moves.find(button); move != moves.end())
        (notebook.*(move->second))();
    // Where the page stays (no page before the first, a delete answered No),
    // so does the caret.
    if (place() == before)
        showAgain(notebook);
    else
        show(notebook);
}

void PageView::select(int position, int length)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
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
    store.nachname(EditorText::toPage(PageText::utf16(text), CodePage::system(), editor.lineBreak()));
}
