#include "TypingNotices.h"

#include "PageEditor.h"
#include "core/store/CodePage.h"
#include "core/store/Seite.h"
#include "gui/common/NoticeWindow.h"

namespace {

// Each takes the place of the one before.
const QString kKind = QStringLiteral("typing");

} // namespace

TypingNotices::TypingNotices(PageEditor& page, NoticeWindow& notices)
    : QObject(&page)
{
    NoticeWindow* shown = &notices;
    connect(&page, &PageEditor::characterNotKept, shown, [shown](const QString& character) {
        shown->post(kKind,
                    QStringLiteral("\"%1\" cannot be kept: this notebook keeps its pages in %2, which has no "
                                   "such character. The page keeps a \"?\" in its place.")
                        .arg(character, QString::fromStdString(CodePage::systemName())),
                    kShownMs);
    });
    connect(&page, &PageEditor::pageFull, shown, [shown] {
        shown->post(kKind,
                    QStringLiteral("This page is full: a page holds %1 characters. Next starts a new page.")
                        .arg(kPageLength),
                    kShownMs);
    });
    connect(&page, &PageEditor::characterKept, shown, [shown] { shown->dismiss(kKind); });
}
