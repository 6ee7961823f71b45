#include "PageView.h"

#include "PageEditor.h"
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/EditorText.h"
#include "core/store/BusinessDataTier.h"
#include "core/store/CodePage.h"

#include <QScrollBar>
#include <algorithm>

PageView::PageView(PageEditor& editor_, UserDialogs& dialogs)
    : editor(editor_)
{
    QObject::connect(&editor, &PageEditor::textLeftOut, &editor, [&dialogs](int characters) {
        dialogs.tell("Kelmo Note",
                     QStringLiteral("A page holds 2000 characters. %1 characters of what you pasted did not "
                                    "fit and were left out.")
                         .arg(characters)
                         .toStdString(),
                     UserDialogs::Icon::Information);
    });
}

// The fill is not the user's text: a caret put after it would write beyond
// the page.
void PageView::show(const BusinessDataTier& store)
{
    shownPage = store.nachname();
    const std::u16string_view text = EditorText::withoutFill(shownPage);
    editor.setLineBreak(EditorText::lineBreakOf(text));
    const std::u16string shown = EditorText::fromPage(text);
    editor.setPlainText(
        QString(reinterpret_cast<const QChar*>(shown.data()), static_cast<qsizetype>(shown.size())));
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
        store.nachname(shownPage);
        return;
    }
    const std::u16string_view typed(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    store.nachname(EditorText::toPage(typed, CodePage::system(), editor.lineBreak()));
}
