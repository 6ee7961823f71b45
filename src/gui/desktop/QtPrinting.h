#pragma once

#include "Printing.h"

#include <QString>
#include <memory>

class QPainter;
class QPrinter;

// Qt's print dialog and printer. Lines wider than the paper wrap at the
// margin, and text past the bottom of a sheet goes on on the next one. Jobs
// carry the program's name, so print queues show whose they are.
class QtPrinting : public Printing {
public:
    QtPrinting();
    // Prints into a PDF file instead of a printer.
    explicit QtPrinting(const QString& pdfFile);
    ~QtPrinting() override;

    std::optional<int> askForCopies(QWidget* parent) override;
    std::optional<QString> print(const PrintJob& job, int copies) override;

    // The least distance of the text from every edge of the paper.
    static constexpr qreal kMarginMillimetres = 15;

private:
    // Why the chosen printer will not take a job, as far as the print system
    // says before printing.
    std::optional<QString> pruefeDrucker();
    void setzeRaender();
    // Lays one copy out from the top of a fresh sheet.
    std::optional<QString> druckeKopie(QPainter& painter, const PrintJob& job);

    // Made when first needed: asking the print system for its printers
    // takes time that start-up should not pay.
    QPrinter& holeDrucker();

    QString pdfFile_;
    std::unique_ptr<QPrinter> printer_;
};
