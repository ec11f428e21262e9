#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace inkrelay::road {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

int StatusOf(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& display,
                           const std::filesystem::path& errorFile,
                           const std::vector<std::string>& environment)
    : errorFile_(errorFile) {
    if (argv.empty())
        throw std::invalid_argument("ChildProcess: no program");
    // Everything the child needs is made before fork: after it only async-signal-safe calls.
    std::vector<std::string> words = argv;
    std::vector<std::string> env;
    for (char** var = environ; *var != nullptr; ++var) {
        const std::string entry(*var);
        if (!entry.starts_with("DISPLAY=") && !entry.starts_with("QT_QPA_PLATFORM=") &&
            !entry.starts_with("WAYLAND_DISPLAY=") && !entry.starts_with("XDG_SESSION_TYPE="))
            env.push_back(entry);
    }
    env.push_back("DISPLAY=" + display);
    env.push_back("QT_QPA_PLATFORM=xcb");
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> argvPointers = Pointers(words);
    std::vector<char*> envPointers = Pointers(env);

    const int errFd = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int fds[2] = {-1, -1};
    if (errFd < 0 || nullFd < 0 || ::pipe2(fds, O_CLOEXEC) != 0) {
        const std::string reason = std::strerror(errno);
        for (const int fd : {errFd, nullFd}) {
            if (fd >= 0)
                ::close(fd);
        }
        throw std::runtime_error("ChildProcess: cannot prepare files: " + reason);
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(nullFd, 0);
        ::dup2(fds[1], 1);
        ::dup2(errFd, 2);
        ::execve(argvPointers[0], argvPointers.data(), envPointers.data());
        ::_exit(127);
    }
    const int forkError = errno;
    ::close(fds[1]);
    ::close(errFd);
    ::close(nullFd);
    if (pid < 0) {
        ::close(fds[0]);
        throw std::runtime_error(std::string("ChildProcess: fork: ") + std::strerror(forkError));
    }
    pid_ = pid;
    outFd_ = fds[0];
}

ChildProcess::~ChildProcess() {
    Kill();
    if (outFd_ >= 0)
        ::close(outFd_);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (out_.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd request{outFd_, POLLIN, 0};
        const int ready = ::poll(&request, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        char buffer[256];
        const ssize_t got = ::read(outFd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        out_.append(buffer, static_cast<size_t>(got));
    }
    const size_t end = out_.find('\n');
    std::string line = out_.substr(0, end);
    out_.erase(0, end + 1);
    return line;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!status_) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = StatusOf(status);
            break;
        }
        if (done < 0 && errno != EINTR)
            throw std::runtime_error("ChildProcess: waitpid failed");
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

bool ChildProcess::Running() {
    return !Wait(std::chrono::milliseconds(0));
}

int ChildProcess::Terminate(std::chrono::milliseconds timeout) {
    if (!status_)
        ::kill(pid_, SIGTERM);
    if (const auto status = Wait(timeout))
        return *status;
    Kill();
    return *status_;
}

void ChildProcess::Kill() {
    if (pid_ <= 0 || status_)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    status_ = StatusOf(status);
}

std::string ChildProcess::Errors() const {
    std::ifstream in(errorFile_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace inkrelay::road
