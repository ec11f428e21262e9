#include "inkrelay_road.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "app/window_layout.h"

namespace inkrelay::road {

namespace {

constexpr const char* MainWindowName = "インクリレー";
constexpr const char* ImageWindowName = "インクリレー - 画像ウィンドウ";

// Keys can be lost while the program moves the focus between its own windows, as a person
// sometimes presses a shortcut twice: a keyboard step is repeated until what it does shows.
constexpr int KeyAttempts = 4;

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

}  // namespace

std::string InkrelaySettings::Text() const {
    const auto line = [](const char* key, int value) {
        return std::string(key) + "=" + std::to_string(value) + ";\r\n";
    };
    return "[Version]\r\nVersion=2.10;\r\n[Main Settings]\r\n" + line("Mode", Mode) +
           line("Applet", Applet) + line("ScanCol", ScanCol) + "[Recovery Settings]\r\n" +
           line("Quality", Quality) + line("Formula", Formula) + "[Scan Settings]\r\n" +
           line("AutoClose", AutoClose) + "[Draw Settings]\r\n" + line("Speed", Speed) +
           line("Check", Check);
}

PracticeApplet::PracticeApplet(const std::filesystem::path& program,
                               const std::vector<std::string>& args, const std::string& display,
                               const std::filesystem::path& folder)
    : PracticeApplet(
          [&] {
              std::vector<std::string> argv{program.string()};
              argv.insert(argv.end(), args.begin(), args.end());
              return std::make_unique<ChildProcess>(argv, display,
                                                    folder / "practice-applet.stderr");
          }(),
          ProgramLaunch{}.StartTimeout) {}

PracticeApplet::PracticeApplet(std::unique_ptr<ChildProcess> process, Duration startTimeout)
    : process_(std::move(process)) {
    canvas_ = ReadPlace("canvas", startTimeout);
    bars_ = ReadPlace("bars", startTimeout);
}

Point PracticeApplet::ReadPlace(const std::string& name, Duration timeout) {
    const auto line = process_->ReadLine(timeout);
    if (!line)
        throw std::runtime_error("practice-applet did not say where its " + name +
                                 " is; stderr:\n" + process_->Errors());
    std::istringstream words(*line);
    std::string word;
    Point p;
    if (!(words >> word >> p.X >> p.Y) || word != name)
        throw std::runtime_error("practice-applet said \"" + *line + "\", not its " + name);
    return p;
}

int PracticeApplet::Stop() {
    return process_->Terminate(ProgramLaunch{}.StepTimeout);
}

Rect Form1Control(std::string_view name) {
    const ControlPlace& place = PlaceOf(Form1Layout(), name);
    Rect rect{place.Left, place.Top, place.Width, place.Height};
    if (!place.Parent.empty()) {
        const Rect parent = Form1Control(place.Parent);
        rect.X += parent.X;
        rect.Y += parent.Y;
    }
    return rect;
}

ProgramLaunch ProgramLaunch::Native(const std::filesystem::path& program,
                                    const std::filesystem::path& readme, const std::string& display,
                                    const std::vector<std::string>& environment) {
    ProgramLaunch launch;
    launch.Program = program;
    launch.Readme = readme;
    launch.Start = [display, environment](const std::filesystem::path& copy,
                                          const std::filesystem::path& errorFile) {
        return std::make_unique<ChildProcess>(std::vector<std::string>{copy.string()}, display,
                                              errorFile, environment);
    };
    launch.TypedPath = [](const std::filesystem::path& path) {
        return std::filesystem::absolute(path).string();
    };
    return launch;
}

BoxIcon IconOf(const ScreenImage& corner) {
    int red = 0, yellow = 0, blue = 0;
    for (const uint32_t pixel : corner.Pixels) {
        const int r = static_cast<int>(pixel & 0xFF), g = static_cast<int>(pixel >> 8 & 0xFF),
                  b = static_cast<int>(pixel >> 16 & 0xFF);
        red += r > 150 && g < 100 && b < 100;
        yellow += r > 180 && g > 150 && b < 100;
        blue += b > 150 && r < 100 && g < 150;
    }
    const int most = std::max({red, yellow, blue});
    if (most < 20)
        return BoxIcon::Unknown;
    return most == red      ? BoxIcon::Critical
           : most == yellow ? BoxIcon::Warning
                            : BoxIcon::Information;
}

std::optional<long> LogHeaderValue(const std::string& log, const std::string& key) {
    const std::string header = log.substr(0, log.find("\r\n"));
    const size_t at = header.find("  " + key + ":");
    if (at == std::string::npos)
        return std::nullopt;
    try {
        return std::stol(header.substr(at + key.size() + 3));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

Inkrelay::Inkrelay(XDriver& x, const std::filesystem::path& program,
                   const std::filesystem::path& readme, const std::string& display,
                   const std::filesystem::path& folder,
                   const std::optional<InkrelaySettings>& settings, bool awaitMainWindow,
                   const std::vector<std::string>& environment)
    : Inkrelay(x, ProgramLaunch::Native(program, readme, display, environment), folder, settings,
               awaitMainWindow) {}

Inkrelay::Inkrelay(XDriver& x, ProgramLaunch launch, const std::filesystem::path& folder,
                   const std::optional<InkrelaySettings>& settings, bool awaitMainWindow)
    : x_(x), launch_(std::move(launch)), folder_(folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = folder / launch_.Program.filename();
    std::filesystem::copy_file(launch_.Program, copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(launch_.Readme, folder / "Readme.txt",
                               std::filesystem::copy_options::overwrite_existing);
    if (settings) {
        std::ofstream ini(folder / "Inkrelay.ini", std::ios::binary | std::ios::trunc);
        ini << settings->Text();
        if (!ini)
            throw std::runtime_error("cannot write Inkrelay.ini in " + folder.string());
    }
    seenBoxes_ = IdsOf(x_.Windows());
    process_ = launch_.Start(copy, folder / "inkrelay.stderr");
    if (awaitMainWindow)
        AwaitMainWindow();
}

bool Inkrelay::Repeated(const std::function<void()>& act, const std::function<bool()>& done) const {
    for (int attempt = 0; attempt < KeyAttempts; ++attempt) {
        act();
        if (WaitUntil(done, launch_.KeyEffectTimeout))
            return true;
    }
    return false;
}

void Inkrelay::AwaitMainWindow() {
    // Boxes share its title. The boxes of the start are seen already; the main window is the
    // new one as wide as its client area and taller, by the menu bar.
    const WindowLayout& layout = Form1Layout();
    main_ = x_.WaitForWindow(MainWindowName, launch_.StartTimeout, [&](const TopLevel& window) {
        return !Contains(seenBoxes_, window.Id) && window.Frame.Width == layout.ClientWidth &&
               window.Frame.Height > layout.ClientHeight;
    });
}

Point Inkrelay::ClientOrigin() const {
    // Without a window manager the X window is the window without caption or border: the menu
    // bar above the client area.
    return {main_.Frame.X, main_.Frame.Y + main_.Frame.Height - Form1Layout().ClientHeight};
}

Point Inkrelay::ScreenPoint(Rect client) const {
    const Point origin = ClientOrigin();
    return {origin.X + client.X + client.Width / 2, origin.Y + client.Y + client.Height / 2};
}

Rect Inkrelay::ScreenRect(Rect client) const {
    const Point origin = ClientOrigin();
    return {origin.X + client.X, origin.Y + client.Y, client.Width, client.Height};
}

void Inkrelay::PlaceMainWindow(Point topLeft) {
    x_.MoveWindow(main_.Id, topLeft);
    main_.Frame.X = topLeft.X;
    main_.Frame.Y = topLeft.Y;
}

void Inkrelay::KeepOutOfTheAppletsWay() {
    const Rect& frame = main_.Frame;
    PlaceMainWindow({x_.ScreenWidth() - frame.Width - 8, x_.ScreenHeight() - frame.Height - 8});
    SetImageWindowPlace({8, x_.ScreenHeight() - 330});
}

void Inkrelay::ReadyToDraw(const std::filesystem::path& picture, Point canvas, Point bars) {
    OpenPicture(picture);
    SelectAll();
    Read();
    CaptureDrawPos(canvas);
    CaptureBarPos(bars);
}

void Inkrelay::Activate() {
    // Inside the status bar's text: a click there does nothing but give the window the focus.
    const Rect status = Form1Control("StatusPanel1");
    x_.Click(ScreenPoint({status.X + 100, status.Y + 5, 1, 1}));
    if (!x_.Focus(main_.Id, launch_.StepTimeout))
        throw std::runtime_error("the main window did not get the focus");
}

void Inkrelay::OpenPicture(const std::filesystem::path& picture) {
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
        throw std::runtime_error("Ctrl+O showed no file dialog");
    const std::string path = launch_.TypedPath(picture);
    const auto gone = [&] { return !x_.Viewable(dialog->Id); };
    const bool opened = Repeated(
        [&] {
            if (!x_.Focus(dialog->Id, launch_.StepTimeout))
                return;
            // The name field's text is replaced; a completion list open over it takes the first
            // Return.
            x_.Chord({"Control_L", "a"});
            x_.Type(path);
            x_.Chord({"Return"});
            if (!WaitUntil(gone, launch_.KeyEffectTimeout))
                x_.Chord({"Return"});
        },
        gone);
    if (!opened)
        throw std::runtime_error("the file dialog did not open " + path);
    const TopLevel image = x_.WaitForWindow(ImageWindowName, launch_.StepTimeout);
    if (imagePlace_)
        x_.MoveWindow(image.Id, *imagePlace_);
}

void Inkrelay::SelectAll() {
    // The status line names the range's size; unlike the readouts, the file dialog never lay over
    // it, so what it shows before is the program's own paint.
    const Rect status = ScreenRect(Form1Control("StatusPanel1"));
    const ScreenImage before = x_.Grab(status);
    const bool selected = Repeated(
        [&] {
            Activate();
            x_.Chord({"Control_L", "a"});
        },
        [&] { return x_.Grab(status) != before; });
    if (!selected)
        throw std::runtime_error("Ctrl+A selected no range");
}

void Inkrelay::KeyToBox(const char* key) {
    if (!Repeated(
            [&] {
                Activate();
                x_.Chord({"Alt_L", key});
            },
            [&] { return UnseenBox().has_value() || !process_->Running(); }))
        throw std::runtime_error(std::string("Alt+") + key + " showed no message box");
}

void Inkrelay::Read() {
    KeyToBox("s");
    const MessageBox done = WaitForBox(launch_.StepTimeout);
    if (done.Icon != BoxIcon::Information)
        throw std::runtime_error("reading ended with a box that is not an information box");
    Accept(done);
}

void Inkrelay::Capture(Rect button, Rect readout, Point at, MouseButton pressWith) {
    const Rect status = ScreenRect(Form1Control("StatusPanel1"));
    const ScreenImage idle = x_.Grab(status);
    x_.Click(ScreenPoint(button));
    x_.WaitForChange(status, idle, launch_.StepTimeout, "the status line once capture starts");
    // The picture window is hidden for the capture; the press must reach what lies beneath.
    WaitUntil([&] { return !x_.FindWindow(ImageWindowName); }, launch_.StepTimeout);
    const Rect shown = ScreenRect(readout);
    const ScreenImage before = x_.Grab(shown);
    x_.MoveTo(at);
    // Held until the readout shows the capture, since the program polls the buttons. Under wine a
    // press now and then never reaches the button state the program polls (seen once in a whole
    // road), so it is made again, as the keys are: a second press after a capture that did end
    // only reaches the applet, which a capture's click reaches anyway.
    bool held = false;
    const bool captured = Repeated(
        [&] {
            if (held)
                x_.Release(pressWith);
            x_.Press(pressWith);
            held = true;
        },
        [&] { return x_.Grab(shown) != before; });
    x_.Release(pressWith);
    if (!captured)
        throw std::runtime_error("the screen did not change: the captured position's readout");
}

void Inkrelay::CaptureDrawPos(Point canvas) {
    Capture(Form1Control("Command3"), Form1Control("Text3"), canvas, MouseButton::Right);
}

void Inkrelay::CaptureBarPos(Point bar) {
    Capture(Form1Control("Command4"), Form1Control("Text4"), bar, MouseButton::Left);
}

void Inkrelay::StartDrawing() {
    KeyToBox("d");
    const MessageBox confirm = WaitForBox(launch_.StepTimeout);
    if (confirm.Icon != BoxIcon::Warning)
        throw std::runtime_error("描き込む asked no confirmation");
    Accept(confirm);
}

MessageBox Inkrelay::HoldEscapeUntilAsked(Duration timeout) {
    x_.SetKeyRepeat(false);
    x_.KeyDown("Escape");
    const MessageBox question = [&] {
        try {
            return WaitForBox(timeout);
        } catch (...) {
            x_.KeyUp("Escape");
            throw;
        }
    }();
    for (int repeat = 0; repeat < 3; ++repeat) {
        x_.KeyUp("Escape");
        x_.KeyDown("Escape");
    }
    x_.KeyUp("Escape");
    return question;
}

int Inkrelay::Exit() {
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
    return process_->Wait(launch_.StepTimeout).value_or(-1);
}

std::optional<TopLevel> Inkrelay::UnseenBox() {
    for (TopLevel& window : x_.Windows()) {
        if (window.Name == MainWindowName && window.Id != main_.Id &&
            !Contains(seenBoxes_, window.Id))
            return window;
    }
    return std::nullopt;
}

MessageBox Inkrelay::WaitForBox(Duration timeout) {
    std::optional<TopLevel> found;
    const bool shown = WaitUntil(
        [&] {
            found = UnseenBox();
            return found.has_value() || !process_->Running();
        },
        timeout);
    if (!found)
        throw std::runtime_error(shown ? "inkrelay ended without another message box"
                                       : "no message box appeared");
    seenBoxes_.push_back(found->Id);
    const Rect& frame = found->Frame;
    MessageBox box{*found, BoxIcon::Unknown};
    const int rows = launch_.IconRows > 0 ? std::min(frame.Height, launch_.IconRows) : frame.Height;
    // The box is mapped before it is painted: its icon is awaited.
    WaitUntil(
        [&] {
            box.Icon = IconOf(x_.Grab({frame.X, frame.Y, std::min(frame.Width, 64), rows}));
            return box.Icon != BoxIcon::Unknown;
        },
        launch_.StepTimeout);
    return box;
}

void Inkrelay::Answer(const MessageBox& box, const char* key) {
    const bool answered = Repeated(
        [&] {
            if (!x_.Viewable(box.Window.Id))
                return;
            // A click on the box's margin, as a person gives it the keyboard: without a window
            // manager wine may hand the focus back to the window that opened the box.
            const Rect& frame = box.Window.Frame;
            x_.Click({frame.X + 6, frame.Y + 6});
            // Checked again so that a late answer's successor never gets this key.
            if (x_.Focus(box.Window.Id, launch_.StepTimeout) && x_.Viewable(box.Window.Id))
                x_.Chord({key});
        },
        [&] { return !x_.Viewable(box.Window.Id); });
    if (!answered)
        throw std::runtime_error(std::string("the message box took no ") + key);
}

void Inkrelay::Accept(const MessageBox& box) {
    Answer(box, "Return");
}
void Inkrelay::Decline(const MessageBox& box) {
    // いいえ(&N) by its letter: Esc answers no question of the program.
    Answer(box, "n");
}

ScreenImage Inkrelay::Preview() {
    return x_.Grab(ScreenRect(PreviewBox));
}

std::string Inkrelay::Log() const {
    return ReadAll(folder_ / "Inkrelay.log");
}

std::string Inkrelay::Ini() const {
    return ReadAll(folder_ / "Inkrelay.ini");
}

}  // namespace inkrelay::road
