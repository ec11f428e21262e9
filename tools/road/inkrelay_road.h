#pragma once
// The user's road through inkrelay and the practice applet on one X display: start both, open
// a picture, select it all, read it, take the two positions with real clicks, draw, and answer
// the message boxes. Every step waits for what the screen shows, up to a deadline, and throws
// std::runtime_error with what it was waiting for.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "child_process.h"
#include "x_driver.h"

namespace inkrelay::road {

// The 14 lines of Inkrelay.ini.
struct InkrelaySettings {
    int Mode = 0;
    int Applet = 1;
    int ScanCol = 0;
    int Quality = 0;
    int Formula = 0;  // 0 inkjet, 1 colour prime
    int AutoClose = 1;
    int Speed = 5;
    int Check = 1;
    std::string Text() const;
};

// practice-applet, started and waited for until it has said where its canvas and bars are.
class PracticeApplet {
  public:
    PracticeApplet(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::string& display, const std::filesystem::path& folder);
    // One started otherwise (under wine), given startTimeout to say where its places are.
    PracticeApplet(std::unique_ptr<ChildProcess> process, Duration startTimeout);
    Point Canvas() const { return canvas_; }
    Point Bars() const { return bars_; }
    // SIGTERM, which writes the --dump file; the exit status.
    int Stop();
    ChildProcess& Process() { return *process_; }

  private:
    Point ReadPlace(const std::string& name, Duration timeout);

    std::unique_ptr<ChildProcess> process_;
    Point canvas_;
    Point bars_;
};

enum class BoxIcon { Information, Warning, Critical, Unknown };

struct MessageBox {
    TopLevel Window;
    BoxIcon Icon = BoxIcon::Unknown;
};

// A control of the main window in client coordinates, from the layout table both front ends
// build it from.
Rect Form1Control(std::string_view name);
// The preview box's inside, within its sunken frame.
inline constexpr Rect PreviewBox{114, 130, 61, 61};

// How one build of the program is started and how quickly it answers: the Linux program
// directly, the Windows one under wine.
struct ProgramLaunch {
    std::filesystem::path Program;  // copied into the folder under its own name
    std::filesystem::path Readme;
    // The copy started; its standard error in errorFile.
    std::function<std::unique_ptr<ChildProcess>(const std::filesystem::path& copy,
                                                const std::filesystem::path& errorFile)>
        Start;
    // A file's name as typed into the open dialog.
    std::function<std::string(const std::filesystem::path&)> TypedPath;
    Duration StartTimeout{20000};
    Duration StepTimeout{10000};
    Duration KeyEffectTimeout{3000};
    // Rows of a message box searched for its icon from the top; 0 for all of them (wine centres
    // the icon beside the text).
    int IconRows = 64;

    // The Linux program on display, with the environment's NAME=value entries added.
    static ProgramLaunch Native(const std::filesystem::path& program,
                                const std::filesystem::path& readme, const std::string& display,
                                const std::vector<std::string>& environment = {});
};

class Inkrelay {
  public:
    // Copies the program and Readme.txt into folder, writes settings there as Inkrelay.ini
    // (none: no file), starts it with the environment's NAME=value entries added and, unless told
    // not to, waits for its main window.
    Inkrelay(XDriver& x, const std::filesystem::path& program, const std::filesystem::path& readme,
             const std::string& display, const std::filesystem::path& folder,
             const std::optional<InkrelaySettings>& settings, bool awaitMainWindow = true,
             const std::vector<std::string>& environment = {});
    Inkrelay(XDriver& x, ProgramLaunch launch, const std::filesystem::path& folder,
             const std::optional<InkrelaySettings>& settings, bool awaitMainWindow = true);
    // The main window, once the boxes of its start are answered.
    void AwaitMainWindow();

    ChildProcess& Process() { return *process_; }
    const TopLevel& MainWindow() const { return main_; }
    // The client area's top-left on the screen: below the menu bar, without a frame.
    Point ClientOrigin() const;
    Point ScreenPoint(Rect client) const;  // the centre of a control
    Rect ScreenRect(Rect client) const;

    // Drags the main window to a place, as a user moves it off the applet.
    void PlaceMainWindow(Point topLeft);
    // Where the picture window goes when it opens, out of the applet's way.
    void SetImageWindowPlace(Point topLeft) { imagePlace_ = topLeft; }
    // Both windows off an applet at the top left and clear of the boxes in the middle: the main
    // window at the bottom right, the picture window, when it opens, at the bottom left.
    void KeepOutOfTheAppletsWay();
    // Open, select all, read, and both positions taken on the applet: 描き込む is next.
    void ReadyToDraw(const std::filesystem::path& picture, Point canvas, Point bars);

    // File → 開く (Ctrl+O), the path typed into the file dialog.
    void OpenPicture(const std::filesystem::path& picture);
    // Edit → すべて選択 (Ctrl+A).
    void SelectAll();
    // 読み取る (Alt+S) and the completion box answered.
    void Read();
    // 位置の指定 of 描き込み位置, then a right press on the canvas's top-left pixel, held until
    // the position shows: a left press would paint there.
    void CaptureDrawPos(Point canvas);
    // 位置の指定 of RGB バーの位置, then a left press on the red bar's capture point.
    void CaptureBarPos(Point bar);
    // 描き込む (Alt+D) and the confirmation answered Yes.
    void StartDrawing();
    // Esc held, as the drawing's confirmation asks, until the abort question shows; the key's
    // repeats go on after it shows (sent here, not by the server, at times of this step's
    // choosing) and must not answer it.
    MessageBox HoldEscapeUntilAsked(Duration timeout);
    // File → インクリレーの終了 by its mnemonics; the exit status.
    int Exit();

    // The next message box this program shows that was not seen before.
    MessageBox WaitForBox(Duration timeout);
    // Return (the default button: OK or Yes) or N (No), until the box is gone.
    void Accept(const MessageBox& box);
    void Decline(const MessageBox& box);

    ScreenImage Preview();
    std::string Log() const;
    std::string Ini() const;
    std::filesystem::path Folder() const { return folder_; }

  private:
    bool Repeated(const std::function<void()>& act, const std::function<bool()>& done) const;
    void Activate();
    // Alt+key until a message box shows.
    void KeyToBox(const char* key);
    std::optional<TopLevel> UnseenBox();
    void Answer(const MessageBox& box, const char* key);
    // Until the capture has started and the press was taken.
    void Capture(Rect button, Rect readout, Point at, MouseButton pressWith);

    XDriver& x_;
    ProgramLaunch launch_;
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> process_;
    TopLevel main_;
    std::optional<Point> imagePlace_;
    std::vector<unsigned long> seenBoxes_;
};

// The icon of a box, by the colours of its top-left corner where Qt puts it.
BoxIcon IconOf(const ScreenImage& corner);

// "Key:value" of the log's header line as a number; nothing when absent.
std::optional<long> LogHeaderValue(const std::string& log, const std::string& key);

}  // namespace inkrelay::road
