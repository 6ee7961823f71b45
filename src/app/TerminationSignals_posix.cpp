#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// SIGPWR: a UPS telling of a power cut.
#ifdef SIGPWR
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGPWR};
#else
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
#endif

int wakeFds[2] = {-1, -1};

extern "C" void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(wakeFds[0], &byte, 1);
}

} // namespace

void endOnTerminationSignals(QObject* owner, std::function<void()> end)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeFds) != 0)
        return;
    for (const int fd : wakeFds)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    auto* notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [end = std::move(end)] {
        char byte = 0;
        [[maybe_unused]] const auto ignored = ::read(wakeFds[1], &byte, 1);
        end();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals)
        ::sigaction(signal, &action, nullptr);
}
