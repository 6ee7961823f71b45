#include "PageEditor.h"

#include "PageText.h"

#include "core/store/CodePage.h"
#include "core/store/Seite.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <utility>

namespace {

// Pasted text breaks its lines with CR LF, CR or LF; the editor makes each a
// paragraph. An accent may come as a mark of its own after its letter, as
// some programs write it; composed, it is a letter the code page may have.
QString asPageText(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::ParagraphSeparator));
    text.replace(QLatin1Char('\r'), QChar::ParagraphSeparator);
    text.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
    return text.normalized(QString::NormalizationForm_C);
}

// What the page file cannot hold is shown at once as the '?' it is kept as,
// not as typed until the page is shown anew.
QString storable(const QString& text)
{
    const std::u16string kept = EditorText::storable(PageText::utf16(text), CodePage::system());
    return PageText::fromUtf16(kept);
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
    const char32_t first = text.at(0).isHighSurrogate() && text.size() > 1
                               ? QChar::surrogateToUcs4(text.at(0), text.at(1))
                               : text.at(0).unicode();
    return QChar::isPrint(first) || first == U'\t' ? text : QString();
}

} // namespace

PageEditor::PageEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{}

std::size_t PageEditor::berechnePlatz() const
{
    const std::size_t used =
        EditorText::storedLength(PageText::utf16(document()->toRawText()), usedLineBreak);
    const std::size_t selected =
        EditorText::storedLength(PageText::utf16(textCursor().selectedText()), usedLineBreak);
    const std::size_t kept = used - std::min(used, selected);
    return kPageLength - std::min(kPageLength, kept);
}

bool PageEditor::passt(const QString& text) const
{
    return EditorText::storedLength(PageText::utf16(text), usedLineBreak) <= berechnePlatz();
}

void PageEditor::keyPressEvent(QKeyEvent* event)
{
    const QString typed = typedText(event);
    if (typed.isEmpty() || isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString kept = storable(typed);
    if (!passt(kept)) {
        QApplication::beep();
        meldeVoll();
        event->accept();
        return;
    }
    fullTold = false;
    meldeZeichen(typed, kept);
    if (kept == typed) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent keptKey(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&keptKey);
    event->setAccepted(keptKey.isAccepted());
}

void PageEditor::inputMethodEvent(QInputMethodEvent* event)
{
    const QString composed = event->commitString();
    const QString kept = storable(composed);
    if (kept == composed && (composed.isEmpty() || passt(composed))) {
        if (!composed.isEmpty()) {
            fullTold = false;
            emit characterKept();
        }
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent taken(event->preeditString(), event->attributes());
    if (passt(kept)) {
        fullTold = false;
        meldeZeichen(composed, kept);
        taken.setCommitString(kept, event->replacementStart(), event->replacementLength());
    } else {
        QApplication::beep();
        meldeVoll();
    }
    QPlainTextEdit::inputMethodEvent(&taken);
}

// The first character the page could not hold is named; the page shows the
// '?' it keeps.
void PageEditor::meldeZeichen(const QString& typed, const QString& kept)
{
    if (kept == typed) {
        emit characterKept();
        return;
    }
    for (qsizetype i = 0, k = 0; i < typed.size(); ++i, ++k) {
        const bool pair = typed.at(i).isHighSurrogate() && i + 1 < typed.size();
        if (kept.at(k) == QLatin1Char('?') && typed.at(i) != QLatin1Char('?')) {
            emit characterNotKept(typed.mid(i, pair ? 2 : 1));
            return;
        }
        i += pair ? 1 : 0;
    }
}

void PageEditor::meldeVoll()
{
    if (!std::exchange(fullTold, true))
        emit pageFull();
}

void PageEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString given = asPageText(source->text());
    const auto fitting = static_cast<qsizetype>(
        EditorText::fittingPrefix(PageText::utf16(given), berechnePlatz(), usedLineBreak));
    const QString taken = given.left(fitting);
    const QString kept = storable(taken);
    // Each character the page cannot hold became one '?'.
    const auto replaced = static_cast<int>(kept.count(QLatin1Char('?')) - taken.count(QLatin1Char('?')));
    const auto leftOut = static_cast<int>(QStringView(given).mid(fitting).toUcs4().size());
    QMimeData keptData;
    keptData.setText(kept);
    QPlainTextEdit::insertFromMimeData(&keptData);
    if (replaced > 0 || leftOut > 0)
        emit textAltered(replaced, leftOut);
}
