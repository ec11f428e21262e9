#pragma once
// The user's road through the Windows program under wine, from outside: a private Xvfb and a
// wineserver of the test program's own, inkrelay.exe and practice-applet.exe started under that
// wine, and a person at the X display (the Linux road tests' XDriver) pressing keys and buttons on
// wine's X windows and reading the screen back.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "inkrelay_road.h"
#include "x_driver.h"
#include "xvfb_server.h"

namespace inkrelay::wine_road {

using road::BoxIcon;
using road::ChildProcess;
using road::Duration;
using road::Inkrelay;
using road::InkrelaySettings;
using road::MessageBox;
using road::Point;
using road::Rect;
using road::TopLevel;
using road::XDriver;

// Where the cross-built programs and wine are, from the environment; nothing when the folder of
// the programs is not given.
struct WineSetup {
    std::filesystem::path Programs;  // inkrelay.exe and practice-applet.exe
    std::filesystem::path Readme;
    std::string Wine;
    std::string Wineserver;
    std::filesystem::path Prefix;
    static std::optional<WineSetup> FromEnvironment();
};

// One Xvfb and one wineserver for every test: a wine session is slow to start, and each test's
// programs run in a scratch folder of their own.
class WineSession {
  public:
    explicit WineSession(const WineSetup& setup);
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    const WineSetup& Setup() const { return setup_; }
    std::string Display() const { return server_.DisplayName(); }
    XDriver& X() { return *x_; }
    // A Windows program of this session; its standard error in errorFile.
    std::unique_ptr<ChildProcess> Start(const std::filesystem::path& exe,
                                        const std::vector<std::string>& args,
                                        const std::filesystem::path& errorFile);

  private:
    WineSetup setup_;
    test::XvfbServer server_;
    std::unique_ptr<XDriver> x_;
    std::unique_ptr<ChildProcess> wineserver_;
};

// The path wine shows for a file of this system: / is drive Z:.
std::string WindowsPath(const std::filesystem::path& path);

// How inkrelay.exe of the session is started, and how slowly wine answers.
road::ProgramLaunch WineLaunch(WineSession& session);

// practice-applet.exe, waited for until it has said where its canvas and bars are.
class WineApplet {
  public:
    WineApplet(WineSession& session, const std::vector<std::string>& args,
               const std::filesystem::path& folder);
    Point Canvas() const { return applet_.Canvas(); }
    Point Bars() const { return applet_.Bars(); }
    TopLevel Window();
    // Closed as a user closes it, which writes its --dump file; the exit status.
    int Close();
    ChildProcess& Process() { return applet_.Process(); }

  private:
    WineSession& session_;
    road::PracticeApplet applet_;
};

}  // namespace inkrelay::wine_road
