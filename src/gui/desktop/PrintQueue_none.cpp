#include "PrintQueue.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

// Without CUPS, what Qt knows: the queue's state, and nothing about a job
// once it is handed on.
class QtPrintQueue : public PrintQueue {
public:
    std::optional<QString> refusal(const QString& queue) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
        if (info.isNull())
            return QStringLiteral("there is no printer \"%1\"").arg(queue);
        if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
            return QStringLiteral("the printer \"%1\" does not take jobs at present").arg(queue);
        return std::nullopt;
    }
    std::optional<QString> jobRefusal(const QString&, const QString&) override { return std::nullopt; }
};

} // namespace

std::unique_ptr<PrintQueue> PrintQueue::make()
{
    return std::make_unique<QtPrintQueue>();
}
