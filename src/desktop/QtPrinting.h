#pragma once

#include "Printing.h"

#include <QPrinter>

// Qt's print dialog and printer. Lines wider than the paper wrap at the
// margin, and text past the bottom of a sheet goes on on the next one.
class QtPrinting : public Printing {
public:
    QtPrinting() = default;
    // Prints into a PDF file instead of a printer.
    explicit QtPrinting(const QString& pdfFile);

    std::optional<int> askForCopies(QWidget* parent) override;
    std::optional<QString> print(const PrintJob& job) override;

private:
    QPrinter printer_;
};
