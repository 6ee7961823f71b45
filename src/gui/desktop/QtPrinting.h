#pragma once

#include "PrintQueue.h"
#include "Printing.h"

#include <QString>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QTextLayout;

// Qt's print dialog and printer. Lines wider than the paper wrap at the
// margin, and text past the bottom of a sheet goes on on the next one; the
// sheets and the order chosen in the dialog are printed. Jobs carry the
// program's name, so print queues show whose they are. The print queue is
// asked whether it takes a job before one is sent, and whether it took each
// job after; printing into a file asks nobody.
class QtPrinting : public Printing {
public:
    explicit QtPrinting(std::unique_ptr<PrintQueue> queue = PrintQueue::make());
    // Prints into a PDF file instead of a printer.
    explicit QtPrinting(const QString& pdfFile, std::unique_ptr<PrintQueue> queue = PrintQueue::make());
    ~QtPrinting() override;

    std::optional<int> askForCopies(QWidget* parent) override;
    std::optional<QString> print(const PrintJob& job, int copies) override;

    // The least distance of the text from every edge of the paper.
    static constexpr qreal kMarginMillimetres = 15;

    // The printer, with what the dialog chose on it.
    QPrinter& printer() { return holeDrucker(); }

private:
    // One copy laid out: the lines of text on each sheet, and how far down.
    struct Placed {
        const QTextLayout* layout;
        int line;
        qreal y;
    };
    struct Copy {
        std::vector<std::unique_ptr<QTextLayout>> layouts;
        std::vector<std::vector<Placed>> sheets;
    };

    // Why the chosen printer will not take a job, as far as the print system
    // says before printing.
    std::optional<QString> pruefeDrucker();
    void setzeRaender();
    Copy setzeKopie(const PrintJob& job);
    // The sheets chosen in the dialog, in the order chosen.
    std::vector<int> waehleBlaetter(int sheets);
    std::optional<QString> druckeKopie(QPainter& painter, const Copy& copy, const std::vector<int>& sheets);

    // Made when first needed: asking the print system for its printers
    // takes time that start-up should not pay.
    QPrinter& holeDrucker();

    QString pdfFile;
    std::unique_ptr<PrintQueue> queue;
    std::unique_ptr<QPrinter> device;
};
