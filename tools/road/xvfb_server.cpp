#include "xvfb_server.h"

// Xvfb runs only where X11 does; a Windows build of the tests compiles this file empty.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace inkrelay::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto StartTimeout = std::chrono::seconds(15);
constexpr auto StopTimeout = std::chrono::seconds(5);

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

  private:
    int fd_;
};

std::string Errno(const char* what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

// Reads the line Xvfb writes to -displayfd once it accepts connections; empty when it exits
// first or the deadline passes.
std::string ReadDisplayNumber(int fd, Clock::time_point deadline) {
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return {};
        }
        pollfd request{fd, POLLIN, 0};
        const int ready = ::poll(&request, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return {};
        }
        char buffer[32];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return {};
        }
        text.append(buffer, static_cast<size_t>(got));
    }
    text.resize(text.find('\n'));
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    return digits ? text : std::string{};
}

// Starts Xvfb with its output in logFd. It gets SIGTERM when this thread dies, so a test that
// crashes before its destructors run does not leave its server behind.
pid_t SpawnXvfb(std::vector<std::string> args, int logFd) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    FileDescriptor devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    int fds[2];
    if (devNull.Get() < 0 || ::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(Errno("XvfbServer: cannot prepare Xvfb's files", errno));
    }
    // The child reports a failed exec here; a successful one closes it.
    FileDescriptor execRead(fds[0]);
    FileDescriptor execWrite(fds[1]);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error(Errno("XvfbServer: fork", errno));
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::dup2(devNull.Get(), 0);
        ::dup2(logFd, 1);
        ::dup2(logFd, 2);
        ::execvp(argv[0], argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(execWrite.Get(), &error, sizeof error);
        ::_exit(127);
    }
    execWrite.Close();
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(execRead.Get(), &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof error)) {
        return pid;
    }
    ::waitpid(pid, nullptr, 0);
    throw std::runtime_error(error == ENOENT
                                 ? "Xvfb is not installed (not found on PATH); the end-to-end "
                                   "tests need the xvfb package"
                                 : Errno("XvfbServer: cannot run Xvfb", error));
}

}  // namespace

XvfbServer::XvfbServer(int width, int height, int depth,
                       const std::vector<std::string>& extraArgs) {
    char logPath[] = "/tmp/inkrelay-xvfb-XXXXXX";
    logFd_ = ::mkostemp(logPath, O_CLOEXEC);
    if (logFd_ < 0) {
        throw std::runtime_error(Errno("XvfbServer: cannot create a log file", errno));
    }
    // The open descriptor keeps the log readable; nothing is left behind in /tmp.
    ::unlink(logPath);
    try {
        Start(width, height, depth, extraArgs);
    } catch (...) {
        Stop();
        ::close(logFd_);
        throw;
    }
}

void XvfbServer::Start(int width, int height, int depth,
                       const std::vector<std::string>& extraArgs) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(Errno("XvfbServer: pipe", errno));
    }
    FileDescriptor readEnd(fds[0]);
    FileDescriptor writeEnd(fds[1]);
    // Only the write end is inherited by Xvfb, so the read end sees EOF when Xvfb exits.
    if (::fcntl(writeEnd.Get(), F_SETFD, 0) != 0) {
        throw std::runtime_error(Errno("XvfbServer: fcntl", errno));
    }
    std::vector<std::string> args{
        "Xvfb",
        "-displayfd",
        std::to_string(writeEnd.Get()),
        "-screen",
        "0",
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth),
        "-nolisten",
        "tcp",
        "-noreset"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    pid_ = SpawnXvfb(std::move(args), logFd_);
    writeEnd.Close();

    const std::string number = ReadDisplayNumber(readEnd.Get(), Clock::now() + StartTimeout);
    if (number.empty()) {
        throw std::runtime_error(
            "Xvfb did not report a display within 15 s or exited; its output:\n" + Log());
    }
    displayName_ = ":" + number;
}

XvfbServer::~XvfbServer() {
    Stop();
    ::close(logFd_);
}

void XvfbServer::Stop() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + StopTimeout;
    while (true) {
        const pid_t reaped = ::waitpid(pid_, nullptr, WNOHANG);
        if (reaped == pid_ || (reaped < 0 && errno != EINTR)) {
            pid_ = -1;
            return;
        }
        if (Clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

std::string XvfbServer::Log() const {
    std::string text;
    char buffer[4096];
    off_t offset = 0;
    ssize_t got = 0;
    while (text.size() < 64 * 1024 && (got = ::pread(logFd_, buffer, sizeof buffer, offset)) > 0) {
        text.append(buffer, static_cast<size_t>(got));
        offset += got;
    }
    return text;
}

}  // namespace inkrelay::test

#endif  // _WIN32
