#include "wine_road.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "app/window_layout.h"

namespace inkrelay::wine_road {

namespace {

// Wine starts a process in seconds, the first one of a session in many more.
constexpr auto StartTimeout = Duration(60000);
constexpr auto StepTimeout = Duration(15000);
constexpr const char* MainWindowName = "インクリレー";
constexpr const char* ImageWindowName = "インクリレー - 画像ウィンドウ";
constexpr const char* AppletWindowName = "インクリレー 練習用アプレット";

// Keys can be lost while focus moves between windows of another client, as a person sometimes
// presses a shortcut twice: a keyboard step is repeated until what it does shows.
constexpr int KeyAttempts = 4;
constexpr auto KeyEffectTimeout = Duration(4000);

bool Repeated(const std::function<void()>& act, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < KeyAttempts; ++attempt) {
        act();
        if (road::WaitUntil(done, KeyEffectTimeout))
            return true;
    }
    return false;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const std::vector<unsigned long>& ids, unsigned long id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::vector<unsigned long> IdsOf(const std::vector<TopLevel>& windows) {
    std::vector<unsigned long> ids;
    for (const TopLevel& window : windows) ids.push_back(window.Id);
    return ids;
}

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

WineApplet::WineApplet(WineSession& session, const std::vector<std::string>& args,
                       const std::filesystem::path& folder)
    : session_(session) {
    process_ = session.Start(session.Setup().Programs / "practice-applet.exe", args,
                             folder / "practice-applet.stderr");
    canvas_ = ReadPlace("canvas");
    bars_ = ReadPlace("bars");
}

Point WineApplet::ReadPlace(const std::string& name) {
    const auto line = process_->ReadLine(StartTimeout);
    if (!line)
        throw std::runtime_error("practice-applet.exe did not say where its " + name +
                                 " is; stderr:\n" + process_->Errors());
    std::istringstream words(*line);
    std::string word;
    Point p;
    if (!(words >> word >> p.X >> p.Y) || word != name)
        throw std::runtime_error("practice-applet.exe said \"" + *line + "\", not its " + name);
    return p;
}

TopLevel WineApplet::Window() {
    return session_.X().WaitForWindow(AppletWindowName, StepTimeout);
}

int WineApplet::Close() {
    // SIGTERM would end the wine process before the window could write its dump.
    session_.X().AskToClose(Window().Id);
    const auto status = process_->Wait(StepTimeout);
    return status ? *status : process_->Terminate(StepTimeout);
}

Rect Form1Control(std::string_view name) {
    const ControlPlace& place = PlaceOf(Form1Layout(), name);
    Rect rect{place.Left, place.Top, place.Width, place.Height};
    if (!place.Parent.empty()) {
        const ControlPlace& parent = PlaceOf(Form1Layout(), place.Parent);
        rect.X += parent.Left;
        rect.Y += parent.Top;
    }
    return rect;
}

WineInkrelay::WineInkrelay(WineSession& session, const std::filesystem::path& folder,
                           const std::optional<InkrelaySettings>& settings)
    : session_(session), x_(session.X()), folder_(folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = folder / "inkrelay.exe";
    std::filesystem::copy_file(session.Setup().Programs / "inkrelay.exe", copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(session.Setup().Readme, folder / "Readme.txt",
                               std::filesystem::copy_options::overwrite_existing);
    if (settings) {
        std::ofstream ini(folder / "Inkrelay.ini", std::ios::binary | std::ios::trunc);
        ini << settings->Text();
        if (!ini)
            throw std::runtime_error("cannot write Inkrelay.ini in " + folder.string());
    }
    seenBoxes_ = IdsOf(x_.Windows());
    process_ = session.Start(copy, {}, folder / "inkrelay.stderr");
    const int width = Form1Layout().ClientWidth;
    // Boxes share the main window's title; the main window is the one as wide as its client area
    // and taller, by the menu bar.
    main_ = x_.WaitForWindow(MainWindowName, StartTimeout, [&](const TopLevel& window) {
        return !Contains(seenBoxes_, window.Id) && window.Frame.Width == width &&
               window.Frame.Height > Form1Layout().ClientHeight;
    });
}

Point WineInkrelay::ClientOrigin() const {
    // Without a window manager wine's X window is the window without its caption and border:
    // the menu bar above the client area.
    return {main_.Frame.X, main_.Frame.Y + main_.Frame.Height - Form1Layout().ClientHeight};
}

Point WineInkrelay::ScreenPoint(Rect client) const {
    const Point origin = ClientOrigin();
    return {origin.X + client.X + client.Width / 2, origin.Y + client.Y + client.Height / 2};
}

Rect WineInkrelay::ScreenRect(Rect client) const {
    const Point origin = ClientOrigin();
    return {origin.X + client.X, origin.Y + client.Y, client.Width, client.Height};
}

void WineInkrelay::PlaceMainWindow(Point topLeft) {
    x_.MoveWindow(main_.Id, topLeft);
    main_.Frame.X = topLeft.X;
    main_.Frame.Y = topLeft.Y;
}

void WineInkrelay::Activate() {
    // The status bar's first panel: a click there does nothing but give the window the focus.
    const Rect status = Form1Control("StatusPanel1");
    x_.Click(ScreenPoint({status.X + 100, status.Y + 5, 1, 1}));
    if (!x_.Focus(main_.Id, StepTimeout))
        throw std::runtime_error("the main window did not get the focus");
}

void WineInkrelay::OpenPicture(const std::filesystem::path& picture) {
    const std::vector<unsigned long> before = IdsOf(x_.Windows());
    std::optional<TopLevel> dialog;
    const bool shown = Repeated(
        [&] {
            Activate();
            x_.Chord({"Control_L", "o"});
        },
        [&] {
            for (TopLevel& window : x_.Windows())
                if (!Contains(before, window.Id) && window.Name != ImageWindowName)
                    dialog = window;
            return dialog.has_value();
        });
    if (!shown)
        throw std::runtime_error("Ctrl+O showed no open dialog");
    const std::string path = WindowsPath(picture);
    const auto gone = [&] { return !x_.Viewable(dialog->Id); };
    const bool opened = Repeated(
        [&] {
            if (!x_.Focus(dialog->Id, StepTimeout))
                return;
            // The file-name box has the focus when the dialog opens; its text is replaced.
            x_.Chord({"Control_L", "a"});
            x_.Type(path);
            x_.Chord({"Return"});
        },
        gone);
    if (!opened)
        throw std::runtime_error("the open dialog did not open " + path);
    const TopLevel image = x_.WaitForWindow(ImageWindowName, StepTimeout);
    if (imagePlace_)
        x_.MoveWindow(image.Id, *imagePlace_);
}

void WineInkrelay::SelectAll() {
    // The status line names the range's size.
    const Rect status = ScreenRect(Form1Control("StatusPanel1"));
    const road::ScreenImage before = x_.Grab(status);
    const bool selected = Repeated(
        [&] {
            Activate();
            x_.Chord({"Control_L", "a"});
        },
        [&] { return x_.Grab(status) != before; });
    if (!selected)
        throw std::runtime_error("Ctrl+A selected no range");
}

void WineInkrelay::KeyToBox(const char* key) {
    if (!Repeated(
            [&] {
                Activate();
                x_.Chord({"Alt_L", key});
            },
            [&] { return UnseenBox().has_value() || !process_->Running(); }))
        throw std::runtime_error(std::string("Alt+") + key + " showed no message box");
}

void WineInkrelay::Read() {
    KeyToBox("s");
    const MessageBox done = WaitForBox(StepTimeout);
    if (done.Icon != BoxIcon::Information)
        throw std::runtime_error("reading ended with a box that is not an information box");
    Accept(done);
}

void WineInkrelay::Capture(Rect button, Rect readout, Point at, MouseButton pressWith) {
    const Rect status = ScreenRect(Form1Control("StatusPanel1"));
    const road::ScreenImage idle = x_.Grab(status);
    x_.Click(ScreenPoint(button));
    x_.WaitForChange(status, idle, StepTimeout, "the status line once capture starts");
    // The picture window is hidden for the capture; the press must reach what lies beneath.
    road::WaitUntil([&] { return !x_.FindWindow(ImageWindowName); }, StepTimeout);
    const Rect shown = ScreenRect(readout);
    const road::ScreenImage before = x_.Grab(shown);
    x_.MoveTo(at);
    x_.Press(pressWith);
    try {
        x_.WaitForChange(shown, before, StepTimeout, "the captured position's readout");
    } catch (...) {
        x_.Release(pressWith);
        throw;
    }
    x_.Release(pressWith);
}

void WineInkrelay::CaptureDrawPos(Point canvas) {
    Capture(Form1Control("Command3"), Form1Control("Text3"), canvas, MouseButton::Right);
}

void WineInkrelay::CaptureBarPos(Point bar) {
    Capture(Form1Control("Command4"), Form1Control("Text4"), bar, MouseButton::Left);
}

void WineInkrelay::StartDrawing() {
    KeyToBox("d");
    const MessageBox confirm = WaitForBox(StepTimeout);
    if (confirm.Icon != BoxIcon::Warning)
        throw std::runtime_error("描き込む asked no confirmation");
    Accept(confirm);
}

int WineInkrelay::Exit() {
    const bool ended = Repeated(
        [&] {
            if (!process_->Running())
                return;
            Activate();
            x_.Chord({"Alt_L", "f"});
            // The menu opens on the press of the mnemonic; the item's letter chooses in it.
            x_.Chord({"x"});
        },
        [&] { return !process_->Running(); });
    if (!ended)
        throw std::runtime_error("File → インクリレーの終了 did not end the program");
    return process_->Wait(StepTimeout).value_or(-1);
}

std::optional<TopLevel> WineInkrelay::UnseenBox() {
    for (TopLevel& window : x_.Windows()) {
        if (window.Name == MainWindowName && window.Id != main_.Id &&
            !Contains(seenBoxes_, window.Id))
            return window;
    }
    return std::nullopt;
}

MessageBox WineInkrelay::WaitForBox(Duration timeout) {
    std::optional<TopLevel> found;
    const bool shown = road::WaitUntil(
        [&] {
            found = UnseenBox();
            return found.has_value() || !process_->Running();
        },
        timeout);
    if (!found)
        throw std::runtime_error(shown ? "inkrelay.exe ended without another message box"
                                       : "no message box appeared");
    seenBoxes_.push_back(found->Id);
    const Rect& frame = found->Frame;
    MessageBox box{*found, BoxIcon::Unknown};
    // Mapped before it is painted: the icon is awaited. Wine centres it beside the text, so a
    // long text puts it far below the top.
    road::WaitUntil(
        [&] {
            box.Icon =
                road::IconOf(x_.Grab({frame.X, frame.Y, std::min(frame.Width, 64), frame.Height}));
            return box.Icon != BoxIcon::Unknown;
        },
        StepTimeout);
    return box;
}

void WineInkrelay::Answer(const MessageBox& box, const char* key) {
    const bool answered = Repeated(
        [&] {
            // Checked again so that a late answer's successor never gets this key.
            if (x_.Focus(box.Window.Id, StepTimeout) && x_.Viewable(box.Window.Id))
                x_.Chord({key});
        },
        [&] { return !x_.Viewable(box.Window.Id); });
    if (!answered)
        throw std::runtime_error(std::string("the message box took no ") + key);
}

void WineInkrelay::Accept(const MessageBox& box) {
    Answer(box, "Return");
}

void WineInkrelay::Decline(const MessageBox& box) {
    Answer(box, "n");
}

std::string WineInkrelay::Log() const {
    return ReadAll(folder_ / "Inkrelay.log");
}

std::string WineInkrelay::Ini() const {
    return ReadAll(folder_ / "Inkrelay.ini");
}

}  // namespace inkrelay::wine_road
