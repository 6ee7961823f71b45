#pragma once

#include "Printing.h"

#include <QString>
#include <memory>

class QPrinter;

// Qt's print dialog and printer. Lines wider than the paper wrap at the
// margin, and text past the bottom of a sheet goes on on the next one.
class QtPrinting : public Printing {
public:
    QtPrinting();
    // Prints into a PDF file instead of a printer.
    explicit QtPrinting(const QString& pdfFile);
    ~QtPrinting() override;

    std::optional<int> askForCopies(QWidget* parent) override;
    std::optional<QString> print(const PrintJob& job) override;

private:
    // Made when first needed: asking the print system for its printers
    // takes time that start-up should not pay.
    QPrinter& printer();

    QString pdfFile_;
    std::unique_ptr<QPrinter> printer_;
};
