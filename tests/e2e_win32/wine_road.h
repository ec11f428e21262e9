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

// practice-applet.exe, waited for until it has said where its canvas and bars are.
class WineApplet {
  public:
    WineApplet(WineSession& session, const std::vector<std::string>& args,
               const std::filesystem::path& folder);
    Point Canvas() const { return canvas_; }
    Point Bars() const { return bars_; }
    TopLevel Window();
    // Closed as a user closes it, which writes its --dump file; the exit status.
    int Close();
    ChildProcess& Process() { return *process_; }

  private:
    Point ReadPlace(const std::string& name);

    WineSession& session_;
    std::unique_ptr<ChildProcess> process_;
    Point canvas_;
    Point bars_;
};

// A control of the main window, in client coordinates, from the layout table the program is built
// from.
Rect Form1Control(std::string_view name);

class WineInkrelay {
  public:
    // A fresh copy of inkrelay.exe and Readme.txt in folder, settings there as Inkrelay.ini (none:
    // no file), started and its main window awaited.
    WineInkrelay(WineSession& session, const std::filesystem::path& folder,
                 const std::optional<InkrelaySettings>& settings);

    ChildProcess& Process() { return *process_; }
    const TopLevel& MainWindow() const { return main_; }
    Point ClientOrigin() const;
    Point ScreenPoint(Rect client) const;
    Rect ScreenRect(Rect client) const;
    void PlaceMainWindow(Point topLeft);
    void SetImageWindowPlace(Point topLeft) { imagePlace_ = topLeft; }

    // Ctrl+O, the path typed into the open dialog's file-name box and Enter.
    void OpenPicture(const std::filesystem::path& picture);
    // Edit → すべて選択 by Ctrl+A.
    void SelectAll();
    // 読み取る(&S) and the completion box answered.
    void Read();
    // Command3, then a right press held on the canvas's top-left pixel until the readout shows.
    void CaptureDrawPos(Point canvas);
    // Command4, then a left press on the red bar.
    void CaptureBarPos(Point bar);
    // 描き込む(&D) and the confirmation answered Yes.
    void StartDrawing();
    // File → インクリレーの終了 by its mnemonics; the exit status.
    int Exit();

    MessageBox WaitForBox(Duration timeout);
    void Accept(const MessageBox& box);
    void Decline(const MessageBox& box);

    std::string Log() const;
    std::string Ini() const;
    std::filesystem::path Folder() const { return folder_; }

  private:
    void Activate();
    void KeyToBox(const char* key);
    std::optional<TopLevel> UnseenBox();
    void Answer(const MessageBox& box, const char* key);
    void Capture(Rect button, Rect readout, Point at, MouseButton pressWith);

    WineSession& session_;
    XDriver& x_;
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> process_;
    TopLevel main_;
    std::optional<Point> imagePlace_;
    std::vector<unsigned long> seenBoxes_;
};

}  // namespace inkrelay::wine_road
