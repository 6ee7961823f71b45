#pragma once

#include <QString>
#include <memory>
#include <optional>

// The print system's own word on a print queue: whether it takes jobs now,
// and whether it took the job just sent. Qt tells only a stopped queue, and
// never what became of a job it handed on.
class PrintQueue {
public:
    virtual ~PrintQueue() = default;

    // Why the queue will not take a job; none when it will.
    virtual std::optional<QString> refusal(const QString& queue) = 0;

    // Why the job of this title, sent to the queue since the last question
    // about it, was not taken; none when it was, or when the print system
    // cannot tell.
    virtual std::optional<QString> jobRefusal(const QString& queue, const QString& title) = 0;

    // The print system of the platform the program was built for.
    static std::unique_ptr<PrintQueue> make();
};
