// practice-applet.exe run as a user runs it, in a process of its own in this wine session: found
// by its title, clicked through SendInput, read back from the screen, closed with WM_CLOSE, its
// dump read through the Windows Imaging Component.

#include "win32_text.h"
// After windows.h.
#include <wincodec.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "browser_look.h"
#include "platform_desktop.h"
#include "practice_setup.h"

namespace {

using inkrelay::Desktop;
using inkrelay::MouseButton;
using inkrelay::ScreenReader;
using inkrelay::win32::UniqueHandle;
using inkrelay::win32::Utf8;
using inkrelay::win32::Wide;
using inkrelay::win32::Win32Failure;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

int passed = 0;
int failed = 0;

void Check(bool condition, const std::string& what) {
    ++(condition ? passed : failed);
    std::printf("%s %s\n", condition ? "ok    " : "FAILED", what.c_str());
    std::fflush(stdout);
}

std::string Hex(uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

struct Point {
    int X = 0;
    int Y = 0;
};

std::wstring Quoted(const std::wstring& arg) {
    return arg.find_first_of(L" \t") == std::wstring::npos ? arg : L"\"" + arg + L"\"";
}

std::wstring FolderOfThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error(Win32Failure("GetModuleFileNameW"));
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// A folder of its own under the temporary folder, removed with the files the tests named.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::wstring temp(MAX_PATH + 1, L'\0');
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp.data());
        if (length == 0 || length > MAX_PATH)
            throw std::runtime_error(Win32Failure("GetTempPathW"));
        temp.resize(length);
        path_ = temp + L"inkrelay-practice-" + std::to_wstring(GetCurrentProcessId());
        if (CreateDirectoryW(path_.c_str(), nullptr) == 0)
            throw std::runtime_error(Win32Failure("CreateDirectoryW"));
    }
    ~ScratchFolder() {
        for (const std::wstring& file : files_) DeleteFileW(file.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring File(const std::wstring& name) {
        files_.push_back(path_ + L"\\" + name);
        return files_.back();
    }

  private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// Both ends of an anonymous pipe; the child gets the write end.
struct Pipe {
    Pipe() {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (CreatePipe(&read, &write, &inherited, 0) == 0)
            throw std::runtime_error(Win32Failure("CreatePipe"));
        Read.reset(read);
        Write.reset(write);
        if (SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0) == 0)
            throw std::runtime_error(Win32Failure("SetHandleInformation"));
    }
    // What has arrived, without waiting for more.
    void Drain(std::string& into) {
        DWORD available = 0;
        while (PeekNamedPipe(Read.get(), nullptr, 0, nullptr, &available, nullptr) != 0 &&
               available > 0) {
            std::string chunk(available, '\0');
            DWORD got = 0;
            if (ReadFile(Read.get(), chunk.data(), available, &got, nullptr) == 0)
                return;
            into.append(chunk, 0, got);
        }
    }
    UniqueHandle Read;
    UniqueHandle Write;
};

// practice-applet.exe with its output and errors read from pipes; killed if still running when
// destroyed.
class AppletProcess {
  public:
    explicit AppletProcess(const std::vector<std::wstring>& args) {
        std::wstring command = Quoted(FolderOfThisProgram() + L"practice-applet.exe");
        for (const std::wstring& arg : args) command += L" " + Quoted(arg);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output_.Write.get();
        startup.hStdError = errors_.Write.get();
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &startup, &process) == 0)
            throw std::runtime_error(Win32Failure("CreateProcessW"));
        process_.reset(process.hProcess);
        CloseHandle(process.hThread);
        id_ = process.dwProcessId;
        // Only the child holds the write ends now, so its end is the pipes' end.
        output_.Write.reset();
        errors_.Write.reset();
    }
    ~AppletProcess() {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT &&
            TerminateProcess(process_.get(), 99) != 0)
            WaitForSingleObject(process_.get(), 10000);
    }
    AppletProcess(const AppletProcess&) = delete;
    AppletProcess& operator=(const AppletProcess&) = delete;

    DWORD Id() const { return id_; }

    // The next line it printed, or nothing by the deadline.
    std::optional<std::string> ReadLine(std::chrono::milliseconds within) {
        const auto deadline = Clock::now() + within;
        for (;;) {
            output_.Drain(out_);
            if (const size_t end = out_.find('\n'); end != std::string::npos) {
                std::string line = out_.substr(0, end);
                out_.erase(0, end + 1);
                return line;
            }
            if (Clock::now() >= deadline || !PollStep())
                return std::nullopt;
        }
    }

    // The exit status, or nothing if it is still running at the deadline.
    std::optional<DWORD> Wait(std::chrono::milliseconds within) {
        const auto deadline = Clock::now() + within;
        while (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            errors_.Drain(err_);
            if (Clock::now() >= deadline)
                return std::nullopt;
            PollStep();
        }
        errors_.Drain(err_);
        DWORD status = 0;
        if (GetExitCodeProcess(process_.get(), &status) == 0)
            return std::nullopt;
        return status;
    }

    std::string Errors() {
        errors_.Drain(err_);
        return err_;
    }

  private:
    // Waits a little, less when the process ends; false once it has ended.
    bool PollStep() {
        errors_.Drain(err_);
        return WaitForSingleObject(process_.get(), 5) == WAIT_TIMEOUT;
    }

    Pipe output_;
    Pipe errors_;
    UniqueHandle process_;
    DWORD id_ = 0;
    std::string out_;
    std::string err_;
};

// Polls until done() holds or the deadline passes.
bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds within = 5000ms) {
    const auto deadline = Clock::now() + within;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        // Wakes early for a message of this thread's, of which there are none to wait for.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
    return true;
}

struct DecodedPng {
    UINT Width = 0;
    UINT Height = 0;
    std::vector<uint32_t> Pixels;  // 0x00BBGGRR
    uint32_t At(UINT x, UINT y) const { return Pixels[y * Width + x]; }
};

void Succeed(HRESULT result, const char* what) {
    if (FAILED(result))
        throw std::runtime_error(Win32Failure(what, static_cast<DWORD>(result)));
}

// The whole file through WIC's own PNG decoder, converted to 32-bit BGR whatever it holds.
DecodedPng ReadPng(const std::wstring& path) {
    using Microsoft::WRL::ComPtr;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Succeed(com, "CoInitializeEx");
    struct Uninitialize {
        ~Uninitialize() { CoUninitialize(); }
    } uninitialize;
    ComPtr<IWICImagingFactory> factory;
    Succeed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_PPV_ARGS(&factory)),
            "creating the imaging factory");
    ComPtr<IWICBitmapDecoder> decoder;
    Succeed(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                               WICDecodeMetadataCacheOnDemand, &decoder),
            "opening the PNG");
    GUID container{};
    Succeed(decoder->GetContainerFormat(&container), "GetContainerFormat");
    if (container != GUID_ContainerFormatPng)
        throw std::runtime_error("the dump is not a PNG file");
    ComPtr<IWICBitmapFrameDecode> frame;
    Succeed(decoder->GetFrame(0, &frame), "GetFrame");
    ComPtr<IWICFormatConverter> converter;
    Succeed(factory->CreateFormatConverter(&converter), "CreateFormatConverter");
    Succeed(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                  nullptr, 0, WICBitmapPaletteTypeCustom),
            "IWICFormatConverter::Initialize");
    DecodedPng png;
    Succeed(converter->GetSize(&png.Width, &png.Height), "GetSize");
    std::vector<BYTE> bytes(static_cast<size_t>(png.Width) * png.Height * 4);
    Succeed(converter->CopyPixels(nullptr, png.Width * 4, static_cast<UINT>(bytes.size()),
                                  bytes.data()),
            "CopyPixels");
    for (size_t i = 0; i < bytes.size(); i += 4)
        png.Pixels.push_back(Rgb(bytes[i + 2], bytes[i + 1], bytes[i]));
    return png;
}

// One run of the applet: started, its places read, its window found; the driving and reading
// are the test's.
class Run {
  public:
    Run(Desktop& desktop, const std::vector<std::wstring>& args)
        : desktop_(desktop), process_(args), screen_(desktop.OpenScreen()) {
        canvas_ = ReadPlace("canvas");
        bars_ = ReadPlace("bars");
        const std::wstring title = Wide(inkrelay::practice::WindowTitle());
        // Another run's window may linger under the same title: the one of this process.
        PollUntil([&] {
            for (HWND found = FindWindowExW(nullptr, nullptr, nullptr, title.c_str());
                 found != nullptr; found = FindWindowExW(nullptr, found, nullptr, title.c_str())) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == process_.Id())
                    window_ = found;
            }
            return window_ != nullptr;
        });
        if (window_ == nullptr)
            throw std::runtime_error("no window titled as the practice applet");
    }

    HWND Window() const { return window_; }
    Point Canvas(int x = 0, int y = 0) const { return {canvas_.X + x, canvas_.Y + y}; }
    // The pixel of level on the bar of channel, for the bar's captured level and pitch.
    Point Bar(int channel, int level, int origin, int pitch) const {
        return {bars_.X + level - origin, bars_.Y + channel * pitch};
    }
    Point Bars() const { return bars_; }

    uint32_t PixelAt(Point p) { return screen_->ReadPixel(p.X, p.Y); }
    // The pixel once it is colour, polled for the input's delivery; what it last was otherwise.
    uint32_t PixelBecomes(Point p, uint32_t colour) {
        uint32_t seen = PixelAt(p);
        PollUntil([&] { return (seen = PixelAt(p)) == colour; });
        return seen;
    }

    // Under wine SetCursorPos warps the X pointer, and the applet's process hears of it from
    // the X server, which may be after a button event sent next through wineserver: a press
    // would land where the pointer was before. A message the applet must answer comes back only
    // after it has turned the X events it had into input, so two round trips let them in first.
    void MoveTo(Point p) {
        desktop_.MovePointer(static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y));
        for (int i = 0; i < 2; ++i) {
            DWORD_PTR ignored = 0;
            if (SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) == 0)
                throw std::runtime_error(Win32Failure("SendMessageTimeoutW to the applet"));
        }
    }
    void Press(MouseButton button = MouseButton::Left) { desktop_.PressButton(button); }
    void Release(MouseButton button = MouseButton::Left) { desktop_.ReleaseButton(button); }
    void Click(Point p, MouseButton button = MouseButton::Left) {
        MoveTo(p);
        Press(button);
        Release(button);
    }

    // WM_CLOSE as the close box sends it; the exit status.
    std::optional<DWORD> Close() {
        if (PostMessageW(window_, WM_CLOSE, 0, 0) == 0)
            return std::nullopt;
        return process_.Wait(10s);
    }
    std::string Errors() { return process_.Errors(); }

  private:
    Point ReadPlace(const std::string& name) {
        const auto line = process_.ReadLine(20s);
        if (!line)
            throw std::runtime_error("practice-applet did not say where its " + name +
                                     " is; errors: " + process_.Errors());
        std::istringstream words(*line);
        std::string word;
        Point p;
        if (!(words >> word >> p.X >> p.Y) || word != name)
            throw std::runtime_error("practice-applet said \"" + *line + "\", not its " + name);
        return p;
    }

    Desktop& desktop_;
    AppletProcess process_;
    std::unique_ptr<ScreenReader> screen_;
    Point canvas_;
    Point bars_;
    HWND window_ = nullptr;
};

void CheckBadArguments() {
    const std::vector<std::vector<std::wstring>> bad{
        {L"--applet", L"9"}, {L"--canvas", L"0x10"}, {L"--lag"}, {L"--bogus"}};
    for (const auto& args : bad) {
        AppletProcess applet(args);
        const auto status = applet.Wait(20s);
        const std::string errors = applet.Errors();
        Check(status == 2u && errors.find("usage: practice-applet") != std::string::npos,
              Utf8(args[0]) + ": exit 2 with the usage on the error output, got " +
                  (status ? std::to_string(*status) : "no exit") + ", \"" + errors + "\"");
    }
}

// PaintBBS: bars 15 rows apart, captured at level 0, presses above 49 refused.
void CheckPaintBbs(Desktop& desktop, ScratchFolder& folder) {
    const std::wstring dump = folder.File(L"paintbbs canvas.png");
    Run run(desktop, {L"--canvas", L"120x80", L"--dump", dump});
    const auto bar = [&](int channel, int level) { return run.Bar(channel, level, 0, 15); };
    POINT client{0, 0};
    ClientToScreen(run.Window(), &client);
    Check(run.Canvas().X == client.x + 8 && run.Canvas().Y == client.y + 8,
          "the canvas printed is 8, 8 into the client area");
    Check(run.Bars().X == client.x + 8 + 120 + 24 && run.Bars().Y == client.y + 16,
          "the bars printed are right of the canvas");

    // The places are printed after the first paint, which may reach the screen a moment later.
    Check(
        run.PixelBecomes(run.Canvas(), White) == White && run.PixelAt(run.Canvas(119, 79)) == White,
        "the canvas's corners are white");
    Check(run.PixelAt({run.Canvas().X - 1, run.Canvas().Y}) != White &&
              run.PixelAt(run.Canvas(120, 0)) != White,
          "beside the canvas is not white");
    Check(run.PixelAt(bar(0, 10)) == Rgb(50, 0, 0) && run.PixelAt(bar(2, 51)) == Rgb(0, 0, 255),
          "the red bar shows level 10 at 10 and the blue bar 51 at 51");

    // Level 51 only by pressing at 49 and dragging.
    run.MoveTo(bar(0, 49));
    run.Press();
    run.MoveTo(bar(0, 51));
    const Point swatch{run.Bars().X, run.Bars().Y + 2 * 15 + 2 + 12};
    run.PixelBecomes({swatch.X + 26, swatch.Y + 12}, Rgb(255, 0, 0));
    run.Release();
    run.Click(run.Canvas(10, 10));
    uint32_t seen = run.PixelBecomes(run.Canvas(10, 10), Rgb(255, 0, 0));
    Check(seen == Rgb(255, 0, 0),
          "a drag to red 51 then a click paints a red dot, got " + Hex(seen));
    Check(run.PixelAt(run.Canvas(11, 10)) == White, "the dot is one pixel");
    seen = run.PixelBecomes({swatch.X + 26, swatch.Y + 12}, Rgb(255, 0, 0));
    Check(seen == Rgb(255, 0, 0) && run.PixelAt(swatch) == Black,
          "the swatch under the bars shows red in a black frame, got " + Hex(seen));

    run.Click(bar(1, 30));
    run.Click(bar(2, 40));
    const uint32_t mixed = Rgb(255, 150, 200);
    // An L-shaped drag, each leg seen painted before the next, so no move waits behind another.
    run.MoveTo(run.Canvas(20, 20));
    run.Press();
    run.MoveTo(run.Canvas(40, 20));
    const bool firstLeg = run.PixelBecomes(run.Canvas(40, 20), mixed) == mixed;
    run.MoveTo(run.Canvas(40, 40));
    const bool secondLeg = run.PixelBecomes(run.Canvas(40, 40), mixed) == mixed;
    run.Release();
    Check(firstLeg && secondLeg && run.PixelAt(run.Canvas(30, 20)) == mixed &&
              run.PixelAt(run.Canvas(40, 30)) == mixed && run.PixelAt(run.Canvas(20, 20)) == mixed,
          "a drag paints its legs in the mixed colour");
    Check(run.PixelAt(run.Canvas(30, 30)) == White, "the drag keeps its corner");

    // The right button picks the first dot's colour back up.
    run.Click(run.Canvas(10, 10), MouseButton::Right);
    run.Click(run.Canvas(12, 10));
    seen = run.PixelBecomes(run.Canvas(12, 10), Rgb(255, 0, 0));
    Check(seen == Rgb(255, 0, 0), "a right click picks red up from the dot, got " + Hex(seen));

    const auto status = run.Close();
    Check(status == 0u, "WM_CLOSE ends it with 0; errors: " + run.Errors());
    try {
        const DecodedPng png = ReadPng(dump);
        Check(png.Width == 120 && png.Height == 80, "the dump is the canvas's size");
        if (png.Width == 120 && png.Height == 80) {
            Check(png.At(10, 10) == Rgb(255, 0, 0) && png.At(12, 10) == Rgb(255, 0, 0),
                  "the dump holds the red dots");
            Check(png.At(30, 20) == mixed && png.At(40, 30) == mixed, "the dump holds the drag");
            Check(png.At(30, 30) == White && png.At(0, 0) == White && png.At(119, 79) == White,
                  "the dump is white elsewhere");
        }
    } catch (const std::runtime_error& failure) {
        Check(false, std::string("the dump reads back: ") + failure.what());
    }
}

// Every second accepted bar press lost: red taken, green lost, blue taken.
void CheckDroppedPress(Desktop& desktop) {
    Run run(desktop, {L"--drop-every", L"2", L"--canvas", L"60x60"});
    const auto bar = [&](int channel, int level) { return run.Bar(channel, level, 0, 15); };
    run.PixelBecomes(run.Canvas(), White);
    run.Click(bar(0, 20));
    run.Click(bar(1, 20));
    run.Click(bar(2, 20));
    run.Click(run.Canvas(5, 5));
    const uint32_t seen = run.PixelBecomes(run.Canvas(5, 5), Rgb(100, 0, 100));
    Check(seen == Rgb(100, 0, 100), "--drop-every 2 loses the green press, got " + Hex(seen));
    Check(run.Close() == 0u, "--drop-every 2: WM_CLOSE ends it with 0");
}

// Shi-Painter at layout 1: captured at level 2, bars 20 rows apart.
void CheckLag(Desktop& desktop) {
    constexpr auto Lag = 300ms;
    Run run(desktop,
            {L"--applet", L"3", L"--layout", L"1", L"--lag", L"300", L"--canvas", L"60x60"});
    const auto bar = [&](int channel, int level) { return run.Bar(channel, level, 2, 20); };
    Check(run.PixelBecomes(bar(1, 51), Rgb(0, 255, 0)) == Rgb(0, 255, 0) &&
              run.PixelAt(bar(0, 0)) == Black,
          "--applet 3 --layout 1: the bars 20 rows apart, captured at level 2");
    run.Click(bar(1, 10));
    const auto sent = Clock::now();
    run.Click(run.Canvas(5, 5));
    const uint32_t seen = run.PixelBecomes(run.Canvas(5, 5), Rgb(0, 50, 0));
    const auto took = Clock::now() - sent;
    Check(seen == Rgb(0, 50, 0), "--lag: the paint lands, got " + Hex(seen));
    Check(took >= Lag, "--lag 300: the paint shows after " + std::to_string(took / 1ms) +
                           " ms, no sooner than 300");
    Check(run.Close() == 0u, "--lag: WM_CLOSE ends it with 0");
}

// PaintBBS NEO: paint shown at frames, a 2 x 2 inverted mark at the pointer while held.
void CheckBrowserApplet(Desktop& desktop) {
    Run run(desktop, {L"--applet", L"4", L"--canvas", L"160x120"});
    const auto bar = [&](int channel, int level) { return run.Bar(channel, level, 0, 16); };
    const Point alphaFill{bar(3, 10).X, bar(3, 10).Y - 5};
    Check(run.PixelBecomes(alphaFill, inkrelay::BrowserBarFill[3]) == inkrelay::BrowserBarFill[3],
          "--applet 4 shows the alpha bar's box full under the blue one");
    Check(run.PixelAt(bar(0, 0)) == inkrelay::BrowserBarBorder &&
              run.PixelAt({run.Canvas().X - 1, run.Canvas().Y}) == inkrelay::BrowserCanvasBorder &&
              run.PixelAt({run.Canvas().X - 8, run.Canvas().Y}) == inkrelay::BrowserPage,
          "--applet 4: level 0 on the red box's border, the canvas framed on the page");
    run.MoveTo(run.Canvas(10, 10));
    run.Press();
    const bool marked = run.PixelBecomes(run.Canvas(9, 9), Black) == Black &&
                        run.PixelAt(run.Canvas(10, 10)) == White;
    run.Release();
    Check(marked, "--applet 4: while held, the mark inverts the paint and the white beside it");
    const bool painted = run.PixelBecomes(run.Canvas(10, 10), Black) == Black &&
                         run.PixelBecomes(run.Canvas(9, 9), White) == White;
    Check(painted, "--applet 4: after the release a frame shows the paint without the mark");
    Check(run.Close() == 0u, "--applet 4: WM_CLOSE ends it with 0");
}

void CheckDead(Desktop& desktop, ScratchFolder& folder) {
    const std::wstring dump = folder.File(L"dead.png");
    Run run(desktop, {L"--dead", L"--canvas", L"60x60", L"--dump", dump});
    run.PixelBecomes(run.Canvas(), White);
    run.Click(run.Bar(0, 40, 0, 15));
    run.MoveTo(run.Canvas(5, 5));
    run.Press();
    run.MoveTo(run.Canvas(25, 5));
    run.Release();
    // Nothing to wait for: the pixels are watched for a while instead.
    const bool white = !PollUntil(
        [&] {
            return run.PixelAt(run.Canvas(5, 5)) != White ||
                   run.PixelAt(run.Canvas(15, 5)) != White;
        },
        300ms);
    Check(white, "--dead: a click and a drag paint nothing");
    Check(run.Close() == 0u, "--dead: WM_CLOSE ends it with 0");
    try {
        const DecodedPng png = ReadPng(dump);
        bool allWhite = png.Width == 60 && png.Height == 60;
        for (UINT x = 0; allWhite && x < 30; ++x) allWhite = png.At(x, 5) == White;
        Check(allWhite, "--dead: the dump is white where the drag went");
    } catch (const std::runtime_error& failure) {
        Check(false, std::string("--dead: the dump reads back: ") + failure.what());
    }
}

}  // namespace

// With an argument, only the runs of that name (PaintBBS, --lag, ...), to look into one.
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    try {
        ScratchFolder folder;
        const std::unique_ptr<Desktop> desktop = inkrelay::OpenPlatformDesktop();
        if (only.empty())
            CheckBadArguments();
        const std::vector<std::pair<const char*, std::function<void()>>> runs{
            {"PaintBBS", [&] { CheckPaintBbs(*desktop, folder); }},
            {"--drop-every", [&] { CheckDroppedPress(*desktop); }},
            {"--lag", [&] { CheckLag(*desktop); }},
            {"--applet 4", [&] { CheckBrowserApplet(*desktop); }},
            {"--dead", [&] { CheckDead(*desktop, folder); }}};
        for (const auto& [name, check] : runs) {
            if (!only.empty() && only != name)
                continue;
            try {
                check();
            } catch (const std::exception& failure) {
                Check(false, std::string(name) + ": " + failure.what());
            }
        }
    } catch (const std::exception& failure) {
        Check(false, failure.what());
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
