#pragma once

#include "core/mainwindow/EditorText.h"

#include <QPlainTextEdit>

// The editor of one page. It never holds more than the page can store,
// counted in the bytes the page file will take: what does not fit is
// refused as it is typed, pasted, dropped or composed, never cut later.
// Nor does it hold a character the page file cannot: such a character
// comes in as the '?' the page keeps.
class PageEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit PageEditor(QWidget* parent = nullptr);

    // The line break the page is stored with, so that its length is counted
    // as it will be stored.
    void setLineBreak(EditorText::LineBreak lineBreak) { usedLineBreak = lineBreak; }
    EditorText::LineBreak lineBreak() const { return usedLineBreak; }

signals:
    // A paste or a drop was not taken as it was: `replaced` characters the
    // page cannot hold became '?', `leftOut` did not fit.
    void textAltered(int replaced, int leftOut);
    // A character typed or composed that the page cannot hold, shown as '?'.
    void characterNotKept(const QString& character);
    // A key refused because the page is full; once per run of refused keys.
    void pageFull();
    // A character typed was taken as it is.
    void characterKept();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Bytes still free on the page, with the selection counted as free, as
    // what is typed replaces it.
    std::size_t berechnePlatz() const;
    bool passt(const QString& text) const;

    void meldeZeichen(const QString& typed, const QString& kept);
    void meldeVoll();

    EditorText::LineBreak usedLineBreak = EditorText::LineBreak::CrLf;
    bool fullTold = false;
};
