#pragma once

#include "gui/desktop/PrintQueue.h"

#include <QStringList>

// A print queue that answers as told and remembers what it was asked.
class RecordingPrintQueue : public PrintQueue {
public:
    struct Record {
        std::optional<QString> refusal;
        std::optional<QString> jobRefusal;
        QStringList asked;
    };
    explicit RecordingPrintQueue(Record& record_)
        : record(record_)
    {}
    std::optional<QString> refusal(const QString& queue) override
    {
        record.asked << QStringLiteral("queue ") + queue;
        return record.refusal;
    }
    std::optional<QString> jobRefusal(const QString& queue, const QString& title) override
    {
        record.asked << QStringLiteral("job ") + title + QStringLiteral(" on ") + queue;
        return record.jobRefusal;
    }

private:
    Record& record;
};
