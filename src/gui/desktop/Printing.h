#pragma once

#include <QList>
#include <QString>
#include <optional>

class QWidget;

// One printed copy: lines of text from the top of the sheet down, each with
// its point size. The typeface is the printer's own.
struct PrintJob {
    struct Line {
        QString text;
        qreal pointSize = 0;
    };
    QList<Line> lines;
};

// The print dialog and the printer chosen in it.
class Printing {
public:
    virtual ~Printing() = default;

    // Shows the print dialog; the number of copies chosen, or none when the
    // user cancelled.
    virtual std::optional<int> askForCopies(QWidget* parent) = 0;

    // Prints the copies, each as a job of its own; into a file, one after the
    // other in that one file, since each job would replace the file. On
    // failure the copy in progress is aborted, no further copy is begun, and
    // the reason is returned.
    virtual std::optional<QString> print(const PrintJob& job, int copies) = 0;
};
