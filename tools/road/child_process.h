#pragma once
// A program started on a given display, with its standard output on a pipe and its standard
// error in a file. It gets SIGTERM if the starting thread dies, and SIGKILL with the object, so
// no path leaves it running.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace inkrelay::road {

class ChildProcess {
  public:
    // display: the DISPLAY it gets (with Qt on xcb); every other display or session setting of
    // this process's environment is left out. environment: NAME=value entries added to it.
    ChildProcess(const std::vector<std::string>& argv, const std::string& display,
                 const std::filesystem::path& errorFile,
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int Pid() const { return pid_; }
    // The next line of standard output; nothing at its end or after timeout.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // The exit status (128 + n for signal n); nothing while it still runs after timeout.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    bool Running();
    // SIGTERM, then the exit status, with SIGKILL after timeout.
    int Terminate(std::chrono::milliseconds timeout);
    std::string Errors() const;

  private:
    void Kill();

    int pid_ = -1;
    int outFd_ = -1;
    std::string out_;
    std::filesystem::path errorFile_;
    std::optional<int> status_;
};

}  // namespace inkrelay::road
