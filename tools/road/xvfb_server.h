#pragma once
// A private Xvfb for one test: started on a display number it picks itself, stopped with the
// object. Throws std::runtime_error, with Xvfb's own output, when it cannot be started.

#include <string>
#include <vector>

namespace inkrelay::test {

class XvfbServer {
  public:
    // extraArgs go to Xvfb after the screen, e.g. {"-tst"} to run it without XTest.
    XvfbServer(int width, int height, int depth, const std::vector<std::string>& extraArgs = {});
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The name to give XOpenDisplay, e.g. ":3".
    const std::string& DisplayName() const { return displayName_; }

  private:
    void Start(int width, int height, int depth, const std::vector<std::string>& extraArgs);
    void Stop();
    std::string Log() const;

    int pid_ = -1;  // a pid_t; kept int so the header needs no POSIX types
    int logFd_ = -1;
    std::string displayName_;
};

}  // namespace inkrelay::test
