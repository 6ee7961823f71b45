#include "PrintQueue.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cups/cups.h>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A cupsd on this machine answers in milliseconds, a server across the
// network in well under this; one that takes longer is not going to print.
constexpr auto kAnswerTime = 5s;
// Qt hands the job to CUPS before it returns, so the job is there at once
// when CUPS took it; the time covers a busy server.
constexpr auto kJobTime = 5s;
constexpr auto kJobLookEvery = 250ms;

// What CUPS says about a queue, in plain strings: it is asked for in a
// thread of its own.
struct QueueState {
    bool answered = false;
    bool notThere = false;
    std::string error; // why there is no answer
    bool accepting = true;
    bool stopped = false;
    std::string reason; // the queue's state message, else its state reasons
    int newestJob = 0;  // of this user, of any title
};

struct Job {
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
};

// The printer of a queue name, without the instance a "/" may add.
std::string printerOf(const std::string& queue)
{
    return queue.substr(0, queue.find('/'));
}

// The newest job of this user on the queue, of the title when one is given.
Job newestJob(const std::string& queue, const std::string& title)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 1, CUPS_WHICHJOBS_ALL);
    Job newest;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > newest.id && (title.empty() || (jobs[i].title && title == jobs[i].title)))
            newest = {jobs[i].id, jobs[i].state};
    cupsFreeJobs(count, jobs);
    return newest;
}

QueueState askQueue(const std::string& queue)
{
    QueueState state;
    // The queue's state message, which tells why it rejects jobs, is not
    // among what cupsGetNamedDest asks for.
    const std::string printer = printerOf(queue);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", printer.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const wanted[] = {"printer-is-accepting-jobs", "printer-state",
                                         "printer-state-message", "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", std::size(wanted),
                  nullptr, wanted);
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        state.notThere = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        state.error = cupsLastErrorString();
        ippDelete(response);
        return state;
    }
    state.answered = true;
    if (ipp_attribute_t* accepting = ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        state.accepting = ippGetBoolean(accepting, 0);
    if (ipp_attribute_t* printerState = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM))
        state.stopped = ippGetInteger(printerState, 0) == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t* message = ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT))
        state.reason = ippGetString(message, 0, nullptr);
    ipp_attribute_t* reasons = ippFindAttribute(response, "printer-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; state.reason.empty() && reasons && i < ippGetCount(reasons); ++i)
        if (const std::string reason = ippGetString(reasons, i, nullptr); reason != "none")
            state.reason = reason;
    ippDelete(response);
    state.newestJob = newestJob(printer, {}).id;
    return state;
}

QString cupsSays(const std::string& reason)
{
    return reason.empty() ? QString()
                          : QStringLiteral(" (CUPS says: %1)").arg(QString::fromStdString(reason));
}

std::optional<QString> refusalOf(const QString& queue, const QueueState& state)
{
    if (!state.answered && state.notThere)
        return QStringLiteral("there is no printer \"%1\"%2").arg(queue, cupsSays(state.error));
    if (!state.answered)
        return QStringLiteral("CUPS could not be asked about the printer \"%1\"%2")
            .arg(queue, cupsSays(state.error));
    if (!state.accepting)
        return QStringLiteral("the printer \"%1\" does not accept jobs%2").arg(queue, cupsSays(state.reason));
    if (state.stopped)
        return QStringLiteral("the printer \"%1\" is stopped%2").arg(queue, cupsSays(state.reason));
    return std::nullopt;
}

// Runs the question in a thread of its own, so that a CUPS slow to answer
// never freezes the window: it is still drawn meanwhile, and what the user
// types or clicks waits until the answer is in.
template <typename Answer>
std::optional<Answer> askAside(std::function<Answer()> question, std::chrono::milliseconds limit)
{
    auto promise = std::make_shared<std::promise<Answer>>();
    std::future<Answer> answer = promise->get_future();
    // Left to run on when CUPS does not answer in time: a question to CUPS
    // cannot be called back, and its answer is then no longer wanted.
    std::thread([promise, question = std::move(question)] { promise->set_value(question()); }).detach();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    if (QCoreApplication::instance()) {
        QEventLoop loop;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, &loop, [&] {
            if (answer.wait_for(0s) == std::future_status::ready ||
                std::chrono::steady_clock::now() >= deadline)
                loop.quit();
        });
        look.start(10);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (answer.wait_until(deadline) != std::future_status::ready)
        return std::nullopt;
    return answer.get();
}

class CupsPrintQueue : public PrintQueue {
public:
    std::optional<QString> refusal(const QString& queue) override
    {
        const std::string name = queue.toStdString();
        const auto state = askAside<QueueState>([name] { return askQueue(name); }, kAnswerTime);
        // Sending a job CUPS may not have would be losing it unseen; nothing
        // is printed yet, and the user may try again.
        if (!state)
            return QStringLiteral(
                       "CUPS did not answer within %1 seconds whether the printer \"%2\" takes jobs")
                .arg(kAnswerTime.count())
                .arg(queue);
        newestSeen = state->newestJob;
        return refusalOf(queue, *state);
    }

    std::optional<QString> jobRefusal(const QString& queue, const QString& title) override
    {
        struct Answer {
            Job job;
            QueueState queue;
        };
        const std::string name = queue.toStdString();
        const std::string jobs = printerOf(name);
        const std::string wanted = title.toStdString();
        const int seen = newestSeen;
        const auto answer = askAside<Answer>(
            [name, jobs, wanted, seen] {
                const auto deadline = std::chrono::steady_clock::now() + kJobTime;
                for (;;) {
                    const Job job = newestJob(jobs, wanted);
                    if (job.id > seen)
                        return Answer{job, job.state == IPP_JSTATE_STOPPED || job.state == IPP_JSTATE_ABORTED
                                               ? askQueue(name)
                                               : QueueState{}};
                    if (std::chrono::steady_clock::now() >= deadline)
                        return Answer{{}, askQueue(name)};
                    std::this_thread::sleep_for(kJobLookEvery);
                }
            },
            kJobTime + kAnswerTime);
        if (!answer)
            return QStringLiteral(
                       "CUPS did not say within %1 seconds whether the printer \"%2\" took the job")
                .arg((kJobTime + kAnswerTime).count())
                .arg(queue);
        if (answer->job.id <= seen) {
            if (auto refused = refusalOf(queue, answer->queue))
                return refused;
            return QStringLiteral("the printer \"%1\" has no job \"%2\" of yours").arg(queue, title);
        }
        newestSeen = answer->job.id;
        // A job cancelled was cancelled by the user, who knows.
        if (answer->job.state == IPP_JSTATE_STOPPED)
            return QStringLiteral("CUPS stopped the job on the printer \"%1\"%2")
                .arg(queue, cupsSays(answer->queue.reason));
        if (answer->job.state == IPP_JSTATE_ABORTED)
            return QStringLiteral("CUPS aborted the job on the printer \"%1\"%2")
                .arg(queue, cupsSays(answer->queue.reason));
        return std::nullopt;
    }

private:
    // The newest job of this user on the queue when last asked: the job sent
    // next is the first newer one.
    int newestSeen = 0;
};

} // namespace

std::unique_ptr<PrintQueue> PrintQueue::make()
{
    return std::make_unique<CupsPrintQueue>();
}
