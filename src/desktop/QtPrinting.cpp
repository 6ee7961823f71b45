#include "QtPrinting.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>

QtPrinting::QtPrinting() = default;

QtPrinting::QtPrinting(const QString& pdfFile)
    : pdfFile_(pdfFile)
{}

QtPrinting::~QtPrinting() = default;

QPrinter& QtPrinting::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>();
        if (!pdfFile_.isEmpty()) {
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setOutputFileName(pdfFile_);
        }
    }
    return *printer_;
}

std::optional<int> QtPrinting::askForCopies(QWidget* parent)
{
    QPrintDialog dialog(&printer(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // Each copy is a job of its own; left to the print system, every job
    // would print all copies again.
    const int copies = printer().copyCount();
    printer().setCopyCount(1);
    return copies;
}

std::optional<QString> QtPrinting::print(const PrintJob& job)
{
    QPrinter& printer_ = printer();
    QPainter painter;
    if (!painter.begin(&printer_))
        return QStringLiteral("the printer could not be started");
    const QRectF page = printer_.pageLayout().paintRectPixels(printer_.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    qreal y = 0;
    for (const PrintJob::Line& line : job.lines) {
        QFont font = painter.font();
        font.setPointSizeF(line.pointSize);
        QTextLayout layout(line.text, font, &printer_);
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine textLine = layout.createLine(); textLine.isValid(); textLine = layout.createLine())
            textLine.setLineWidth(area.width());
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine textLine = layout.lineAt(i);
            if (y + textLine.height() > area.height() && y > 0) {
                if (!printer_.newPage()) {
                    printer_.abort();
                    return QStringLiteral("the printer did not take a new sheet");
                }
                y = 0;
            }
            textLine.draw(&painter, QPointF(0, y));
            y += textLine.height();
        }
    }
    if (!painter.end() || printer_.printerState() == QPrinter::Error)
        return QStringLiteral("the printer reported an error");
    return std::nullopt;
}
