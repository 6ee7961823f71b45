#pragma once

#include "gui/desktop/Printing.h"

#include <vector>

// A print dialog answered as the test says, and a printer that keeps jobs.
class RecordingPrinting : public Printing {
public:
    std::optional<int> copies = 1; // none: the user cancels
    int failAtJob = 0;             // from 1; 0: never fails
    int dialogs = 0;
    std::vector<PrintJob> jobs;

    std::optional<int> askForCopies(QWidget*) override
    {
        ++dialogs;
        return copies;
    }
    std::optional<QString> print(const PrintJob& job, int wanted) override
    {
        for (int copy = 1; copy <= wanted; ++copy) {
            if (static_cast<int>(jobs.size()) + 1 == failAtJob)
                return QStringLiteral("out of paper");
            jobs.push_back(job);
        }
        return std::nullopt;
    }
};
