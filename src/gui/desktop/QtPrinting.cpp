#include "QtPrinting.h"

#include "core/common/Product.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>

QtPrinting::QtPrinting(std::unique_ptr<PrintQueue> queue_)
    : queue(std::move(queue_))
{}

QtPrinting::QtPrinting(const QString& pdfFile_, std::unique_ptr<PrintQueue> queue_)
    : pdfFile(pdfFile_)
    , queue(std::move(queue_))
{}

QtPrinting::~QtPrinting() = default;

QPrinter& QtPrinting::holeDrucker()
{
    if (!device) {
        device = std::make_unique<QPrinter>();
        device->setDocName(QString::fromLatin1(Product::kName));
        if (!pdfFile.isEmpty()) {
            device->setOutputFormat(QPrinter::PdfFormat);
            device->setOutputFileName(pdfFile);
        }
    }
    return *device;
}

std::optional<int> QtPrinting::askForCopies(QWidget* parent)
{
    QPrintDialog dialog(&holeDrucker(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // Each copy is a job of its own; left to the print system, every job
    // would print all copies again.
    const int copies = holeDrucker().copyCount();
    holeDrucker().setCopyCount(1);
    return copies;
}

std::optional<QString> QtPrinting::pruefeDrucker()
{
    const QPrinter& printer = holeDrucker();
    if (!printer.outputFileName().isEmpty())
        return std::nullopt;
    if (printer.printerName().isEmpty())
        return QStringLiteral("there is no printer");
    return queue->refusal(printer.printerName());
}

void QtPrinting::setzeRaender()
{
    // Whatever the dialog or the printer's defaults say, never nearer to the
    // edge than this; wider margins are kept.
    QPrinter& printer = holeDrucker();
    const QMarginsF current = printer.pageLayout().margins(QPageLayout::Millimeter);
    const QMarginsF least(
        std::max(current.left(), kMarginMillimetres), std::max(current.top(), kMarginMillimetres),
        std::max(current.right(), kMarginMillimetres), std::max(current.bottom(), kMarginMillimetres));
    if (least != current)
        printer.setPageMargins(least, QPageLayout::Millimeter);
}

std::optional<QString> QtPrinting::print(const PrintJob& job, int copies)
{
    if (copies < 1)
        return std::nullopt;
    if (auto refusal = pruefeDrucker())
        return refusal;
    setzeRaender();
    const Copy laidOut = setzeKopie(job);
    const auto count = static_cast<int>(laidOut.sheets.size());
    const std::vector<int> sheets = waehleBlaetter(count);
    if (sheets.empty())
        return QStringLiteral("the page fills %1 %2, and the sheets chosen are not among them")
            .arg(count)
            .arg(count == 1 ? QStringLiteral("sheet") : QStringLiteral("sheets"));
    QPrinter& printer = holeDrucker();
    const bool intoOneFile = !printer.outputFileName().isEmpty();
    QPainter painter;
    for (int copy = 1; copy <= copies; ++copy) {
        if (copy == 1 || !intoOneFile) {
            if (!painter.begin(&printer))
                return QStringLiteral("the printer could not be started");
        } else if (!printer.newPage()) {
            printer.abort();
            return QStringLiteral("the printer did not take a new sheet");
        }
        if (auto failure = druckeKopie(painter, laidOut, sheets))
            return failure;
        if (copy == copies || !intoOneFile)
            if (!painter.end() || printer.printerState() == QPrinter::Error)
                return QStringLiteral("the printer reported an error");
        if (!intoOneFile)
            if (auto refusal = queue->jobRefusal(printer.printerName(), printer.docName()))
                return refusal;
    }
    return std::nullopt;
}

QtPrinting::Copy QtPrinting::setzeKopie(const PrintJob& job)
{
    QPrinter& printer = holeDrucker();
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    Copy copy;
    copy.sheets.emplace_back();
    qreal y = 0;
    for (const PrintJob::Line& line : job.lines) {
        QFont font;
        font.setPointSizeF(line.pointSize);
        auto& layout = *copy.layouts.emplace_back(std::make_unique<QTextLayout>(line.text, font, &printer));
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine textLine = layout.createLine(); textLine.isValid(); textLine = layout.createLine())
            textLine.setLineWidth(area.width());
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const qreal lineHeight = layout.lineAt(i).height();
            if (y + lineHeight > area.height() && y > 0) {
                copy.sheets.emplace_back();
                y = 0;
            }
            copy.sheets.back().push_back({&layout, i, y});
            y += lineHeight;
        }
    }
    return copy;
}

std::vector<int> QtPrinting::waehleBlaetter(int sheets)
{
    const QPrinter& printer = holeDrucker();
    int first = 1;
    int last = sheets;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::min(sheets, std::max(first, printer.toPage()));
    }
    std::vector<int> chosen;
    for (int sheet = first; sheet <= last; ++sheet)
        chosen.push_back(sheet);
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(chosen.begin(), chosen.end());
    return chosen;
}

std::optional<QString> QtPrinting::druckeKopie(QPainter& painter, const Copy& copy,
                                               const std::vector<int>& sheets)
{
    QPrinter& printer = holeDrucker();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            printer.abort();
            return QStringLiteral("the printer did not take a new sheet");
        }
        for (const Placed& placed : copy.sheets.at(static_cast<std::size_t>(sheets[i] - 1)))
            placed.layout->lineAt(placed.line).draw(&painter, QPointF(0, placed.y));
    }
    return std::nullopt;
}
