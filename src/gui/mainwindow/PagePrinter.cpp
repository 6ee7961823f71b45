#include "PagePrinter.h"

#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"
#include "gui/common/KeyboardReturn.h"
#include "gui/desktop/Printing.h"

PagePrinter::PagePrinter(Printing& printing_, UserDialogs& dialogs_)
    : printing(printing_)
    , dialogs(dialogs_)
{}

void PagePrinter::print(QWidget* parent, const QString& heading, const QString& text, qreal pointSize)
{
    const std::optional<int> copies = printing.askForCopies(parent);
    // The print dialog is a window of its own: nobody else hands the
    // keyboard back as it closes.
    KeyboardReturn::to(parent);
    if (!copies)
        return;
    PrintJob job;
    job.lines = {{heading, 20}, {QString(), 20}};
    for (const QString& line : text.split(QChar::ParagraphSeparator))
        job.lines.append({line, pointSize});
    if (const auto failure = printing.print(job, *copies))
        dialogs.tell(Product::kMessageTitle,
                     QStringLiteral("Printing failed: %1.\n\nThe copy in progress was cancelled.")
                         .arg(*failure)
                         .toStdString(),
                     UserDialogs::Icon::Warning);
}
