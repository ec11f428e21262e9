#include "termination_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace inkrelay::practice {

namespace {

volatile sig_atomic_t signalWriteFd = -1;

void OnSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // The pipe does not block: when it is full, a quit is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(signalWriteFd, &byte, 1);
    errno = savedErrno;
}

bool SetHandler(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signal, &action, nullptr) == 0;
}

}  // namespace

TerminationSignal::TerminationSignal() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error(std::string("pipe2: ") + std::strerror(errno));
    readFd_ = fds[0];
    writeFd_ = fds[1];
    notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignal::Drain);
    signalWriteFd = writeFd_;
    if (!SetHandler(SIGTERM, OnSignal) || !SetHandler(SIGINT, OnSignal)) {
        const int error = errno;
        Release();
        throw std::runtime_error(std::string("sigaction: ") + std::strerror(error));
    }
}

TerminationSignal::~TerminationSignal() {
    Release();
}

void TerminationSignal::Release() {
    // Default handlers first, so no handler writes to a closed descriptor.
    SetHandler(SIGTERM, SIG_DFL);
    SetHandler(SIGINT, SIG_DFL);
    signalWriteFd = -1;
    notifier_.reset();
    ::close(readFd_);
    ::close(writeFd_);
}

void TerminationSignal::Drain() {
    char bytes[64];
    while (::read(readFd_, bytes, sizeof bytes) > 0) {
    }
    emit Received();
}

}  // namespace inkrelay::practice
