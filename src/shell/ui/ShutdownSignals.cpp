#include "shell/ui/ShutdownSignals.h"
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace shell {

namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

int gPipe[2] = {-1, -1};
volatile std::sig_atomic_t gReceived = 0;
struct sigaction gPrevious[kSignals.size()];

// Runs in signal context: only async-signal-safe calls.
void onSignal(int signal) {
    if (gReceived) {
        // The closing sequence is under way or hangs: end now, reported as killed by signal.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    gReceived = 1;
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (gPipe[0] >= 0 || ::pipe(gPipe) != 0) return;
    for (int fd : gPipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    gReceived = 0;
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ShutdownSignals::signalArrived);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &gPrevious[i]);
}

ShutdownSignals::~ShutdownSignals() {
    if (!notifier_) return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &gPrevious[i], nullptr);
    delete notifier_;
    for (int& fd : gPipe) {
        ::close(fd);
        fd = -1;
    }
}

void ShutdownSignals::signalArrived() {
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (routine_) routine_();
}

} // namespace shell
