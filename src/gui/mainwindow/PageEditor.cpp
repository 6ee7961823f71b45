#include "PageEditor.h"

#include "core/store/Seite.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace {

std::u16string_view view(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Pasted text breaks its lines with CR LF, CR or LF; the editor makes each a
// paragraph.
QString asParagraphs(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::ParagraphSeparator));
    text.replace(QLatin1Char('\r'), QChar::ParagraphSeparator);
    text.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
    return text;
}

// The text a key press would put into the editor, if any.
QString typedText(QKeyEvent* event)
{
    if (event->matches(QKeySequence::InsertParagraphSeparator))
        return QString(QChar::ParagraphSeparator);
    if (event->matches(QKeySequence::InsertLineSeparator))
        return QString(QChar::LineSeparator);
    const QString text = event->text();
    // Ctrl with a letter is a command; Ctrl+Alt is how Windows reports AltGr,
    // which types characters.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (text.isEmpty() || ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)))
        return {};
    return text.at(0).isPrint() || text.at(0) == QLatin1Char('\t') ? text : QString();
}

} // namespace

PageEditor::PageEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{}

std::size_t PageEditor::berechnePlatz() const
{
    const std::size_t used = EditorText::storedLength(view(document()->toRawText()), lineBreak_);
    const std::size_t selected = EditorText::storedLength(view(textCursor().selectedText()), lineBreak_);
    const std::size_t kept = used - std::min(used, selected);
    return kPageLength - std::min(kPageLength, kept);
}

bool PageEditor::passt(const QString& text) const
{
    return EditorText::storedLength(view(text), lineBreak_) <= berechnePlatz();
}

void PageEditor::keyPressEvent(QKeyEvent* event)
{
    const QString typed = typedText(event);
    if (!typed.isEmpty() && !isReadOnly() && !passt(typed)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PageEditor::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty() || passt(event->commitString())) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent refused(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&refused);
}

void PageEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString text = asParagraphs(source->text());
    const auto fitting =
        static_cast<qsizetype>(EditorText::fittingPrefix(view(text), berechnePlatz(), lineBreak_));
    QMimeData taken;
    taken.setText(text.left(fitting));
    QPlainTextEdit::insertFromMimeData(&taken);
    if (fitting < text.size())
        emit textLeftOut(static_cast<int>(text.size() - fitting));
}
