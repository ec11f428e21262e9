#include "wine_session.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace inkrelay::wine_road {

namespace {

// Wine starts a process in seconds, the first one of a session in many more.
constexpr auto StartTimeout = Duration(60000);
constexpr auto StepTimeout = Duration(15000);
constexpr const char* AppletWindowName = "インクリレー 練習用アプレット";

std::string Variable(const char* name, const std::string& otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : otherwise;
}

}  // namespace

std::optional<WineSetup> WineSetup::FromEnvironment() {
    const std::string programs = Variable("INKRELAY_WIN32_BIN", "");
    if (programs.empty())
        return std::nullopt;
    WineSetup setup;
    setup.Programs = programs;
    setup.Readme = Variable("INKRELAY_README", "");
    setup.Wine = Variable("WINE64", "/usr/lib/wine/wine64");
    setup.Wineserver = Variable("WINESERVER", "/usr/lib/wine/wineserver64");
    setup.Prefix = Variable("WINEPREFIX", "");
    if (setup.Prefix.empty() || setup.Readme.empty())
        throw std::runtime_error("INKRELAY_WIN32_BIN needs WINEPREFIX and INKRELAY_README too");
    return setup;
}

WineSession::WineSession(const WineSetup& setup) : setup_(setup), server_(1024, 768, 24) {
    x_ = std::make_unique<XDriver>(server_.DisplayName());
    std::filesystem::create_directories(setup_.Prefix);
    // In the foreground, so that its pid is the server's own, and persistent: every test's
    // programs meet the same session.
    wineserver_ =
        std::make_unique<ChildProcess>(std::vector<std::string>{setup_.Wineserver, "-f", "-p"},
                                       Display(), setup_.Prefix / "wineserver.stderr");
    if (!std::filesystem::exists(setup_.Prefix / "system.reg")) {
        ChildProcess boot({setup_.Wine, "wineboot", "--init"}, Display(),
                          setup_.Prefix / "wineboot.stderr");
        const auto status = boot.Wait(std::chrono::minutes(5));
        if (status != 0)
            throw std::runtime_error("wineboot failed:\n" + boot.Errors());
    }
}

WineSession::~WineSession() {
    // The session's own processes (explorer, services) were started by the wineserver, not by
    // this program; -k ends exactly those of this prefix, and the server with them.
    ChildProcess kill({setup_.Wineserver, "-k"}, Display(), setup_.Prefix / "wineserver-k.stderr");
    kill.Wait(std::chrono::seconds(20));
    if (!wineserver_->Wait(std::chrono::seconds(20)))
        wineserver_->Terminate(std::chrono::seconds(5));
}

std::unique_ptr<ChildProcess> WineSession::Start(const std::filesystem::path& exe,
                                                 const std::vector<std::string>& args,
                                                 const std::filesystem::path& errorFile) {
    std::vector<std::string> argv{setup_.Wine, exe.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<ChildProcess>(argv, Display(), errorFile);
}

std::string WindowsPath(const std::filesystem::path& path) {
    std::string text = "Z:" + std::filesystem::absolute(path).string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

road::ProgramLaunch WineLaunch(WineSession& session) {
    road::ProgramLaunch launch;
    launch.Program = session.Setup().Programs / "inkrelay.exe";
    launch.Readme = session.Setup().Readme;
    launch.Start = [&session](const std::filesystem::path& copy,
                              const std::filesystem::path& errorFile) {
        return session.Start(copy, {}, errorFile);
    };
    launch.TypedPath = WindowsPath;
    launch.StartTimeout = StartTimeout;
    launch.StepTimeout = StepTimeout;
    launch.KeyEffectTimeout = Duration(4000);
    launch.IconRows = 0;
    return launch;
}

WineApplet::WineApplet(WineSession& session, const std::vector<std::string>& args,
                       const std::filesystem::path& folder)
    : session_(session),
      applet_(session.Start(session.Setup().Programs / "practice-applet.exe", args,
                            folder / "practice-applet.stderr"),
              StartTimeout) {}

TopLevel WineApplet::Window() {
    return session_.X().WaitForWindow(AppletWindowName, StepTimeout);
}

int WineApplet::Close() {
    // SIGTERM would end the wine process before the window could write its dump.
    session_.X().AskToClose(Window().Id);
    const auto status = Process().Wait(StepTimeout);
    return status ? *status : Process().Terminate(StepTimeout);
}

}  // namespace inkrelay::wine_road
