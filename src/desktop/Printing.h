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

    // Prints one copy as a job of its own. On failure the job is aborted and
    // the reason returned.
    virtual std::optional<QString> print(const PrintJob& job) = 0;
};
