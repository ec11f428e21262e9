// Drawing speed of the Windows build into practice-applet.exe, all in one run (under wine here):
// the raw SendInput replay of a list's pointer events, one SendInput per draw-list event and no
// pause (the limit), beside the drawing run inkrelay.exe makes (the core's DrawRun over the Win32
// back end, yielding to this program's message loop), with the check off and on. Each is timed
// from its first event until the applet's canvas on the screen is exact; a fresh applet each.
// Usage: inkrelay_draw_speed_win32 PRACTICE-APPLET.EXE [SIDE]   (SIDE default 100)
// Prints a Markdown table.

// Before windows.h, whose Yield() macro would empty the core's hooks.
#include "draw_speed_counting.h"
#include "draw_speed_lists.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop_win32.h"
#include "platform_desktop.h"
#include "win32_text.h"

namespace inkrelay::speed {
namespace {

using Clock = std::chrono::steady_clock;
using win32::UniqueHandle;

// After the last event has gone out the applet may still be working through its queue; a
// canvas not exact by then never will be (a drag whose moves the queue merged, say).
constexpr auto SettleDeadline = std::chrono::seconds(20);

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// practice-applet.exe with a canvas side × side, its places read from its standard output;
// ended with the object.
class Applet {
  public:
    Applet(const std::wstring& program, int16_t applet, int32_t side) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!CreatePipe(&read, &write, &inherit, 0))
            throw std::runtime_error("CreatePipe failed");
        out_ = UniqueHandle(read);
        UniqueHandle childEnd(write);
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        const std::wstring size = std::to_wstring(side);
        std::wstring line = L"\"" + program + L"\" --applet " + std::to_wstring(applet) +
                            L" --canvas " + size + L"x" + size;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &started))
            throw std::runtime_error("cannot start practice-applet.exe");
        process_ = UniqueHandle(started.hProcess);
        UniqueHandle thread(started.hThread);
        childEnd.reset();  // the pipe ends when the applet does
        canvas_ = ReadPlace("canvas");
        bars_ = ReadPlace("bars");
    }
    ~Applet() {
        TerminateProcess(process_.get(), 0);
        WaitForSingleObject(process_.get(), 10000);
    }
    Applet(const Applet&) = delete;
    Applet& operator=(const Applet&) = delete;

    ScreenPoint Canvas() const { return canvas_; }
    ScreenPoint Bars() const { return bars_; }

  private:
    ScreenPoint ReadPlace(const std::string& name) {
        std::string line;
        char c = 0;
        DWORD got = 0;
        while (ReadFile(out_.get(), &c, 1, &got, nullptr) && got == 1 && c != '\n') line += c;
        std::istringstream words(line);
        std::string word;
        int x = 0, y = 0;
        if (!(words >> word >> x >> y) || word != name)
            throw std::runtime_error("practice-applet.exe said \"" + line + "\", not its " + name);
        return {static_cast<int16_t>(x), static_cast<int16_t>(y)};
    }

    UniqueHandle process_;
    UniqueHandle out_;
    ScreenPoint canvas_;
    ScreenPoint bars_;
};

struct Result {
    double Seconds = 0;  // first event to the exact canvas; 0 if it never was
    int32_t Wrong = 0;   // pixels still wrong then
    int32_t Inputs = 0;  // the raw replay only: pointer events sent
    int32_t ErrorLines = 0;
};

// Once the last event has gone out: until the canvas shows expected, read every few milliseconds
// while messages are pumped; the time from start.
void AwaitExact(const Applet& applet, int32_t side, const std::vector<uint32_t>& expected,
                Clock::time_point start, Result& result) {
    const std::unique_ptr<Desktop> desktop = OpenPlatformDesktop();
    const std::unique_ptr<ScreenReader> dc = desktop->OpenScreen();
    std::vector<uint32_t> shown(expected.size());
    const Clock::time_point deadline = Clock::now() + SettleDeadline;
    for (;;) {
        dc->ReadRegion(applet.Canvas().X, applet.Canvas().Y, side, side, shown);
        result.Wrong = Mismatches(shown, expected);
        if (result.Wrong == 0) {
            result.Seconds = SecondsSince(start);
            return;
        }
        if (Clock::now() >= deadline)
            return;
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

DWORD ButtonFlags(MouseAction action) {
    switch (action) {
        case MouseAction::LeftDown: return MOUSEEVENTF_LEFTDOWN;
        case MouseAction::LeftUp: return MOUSEEVENTF_LEFTUP;
        case MouseAction::RightDown: return MOUSEEVENTF_RIGHTDOWN;
        case MouseAction::RightUp: return MOUSEEVENTF_RIGHTUP;
    }
    return 0;
}

Result RunRaw(const std::wstring& program, int16_t applet, int16_t mode, const DrawList& list,
              int32_t side, const std::vector<uint32_t>& expected) {
    Applet a(program, applet, side);
    const RecordedReplay replay =
        RecordReplay(list, applet, mode, a.Canvas(), a.Bars(), side, side);
    Result result;
    std::vector<INPUT> batch;
    ScreenPoint at{};
    const Clock::time_point start = Clock::now();
    for (const PointerAction& action : replay.Actions) {
        if (action.What == PointerAction::Move) {
            at = {action.X, action.Y};
            batch.push_back(PointerInput(at, 0));
        } else if (action.What == PointerAction::Button) {
            batch.push_back(PointerInput(at, ButtonFlags(action.Action)));
        } else if (!batch.empty()) {
            const UINT sent =
                SendInput(static_cast<UINT>(batch.size()), batch.data(), sizeof(INPUT));
            if (sent != batch.size())
                throw std::runtime_error("SendInput took fewer events than it was given");
            result.Inputs += static_cast<int32_t>(sent);
            batch.clear();
        }
    }
    AwaitExact(a, side, expected, start, result);
    return result;
}

Result RunDrawing(const std::wstring& program, int16_t applet, int16_t mode, const DrawList& list,
                  int32_t side, const std::vector<uint32_t>& expected, bool check) {
    Applet a(program, applet, side);
    const std::unique_ptr<Desktop> desktop = OpenPlatformDesktop();
    DrawSettings settings;
    settings.Mode = mode;
    settings.Applet = applet;
    settings.Speed = 5;
    settings.Check = check;
    settings.DrawPos = a.Canvas();
    settings.RGBBarPos = a.Bars();
    settings.ScanWidth = static_cast<int16_t>(side);
    settings.ScanHeight = static_cast<int16_t>(side);
    HarnessTallies tallies;
    Result result;
    const Clock::time_point start = Clock::now();
    const CountedRun run =
        RunCounted(*desktop, list, settings, tallies, std::nullopt, PumpMessages);
    if (run.Outcome != DrawOutcome::Completed)
        throw std::runtime_error("the drawing run did not complete");
    for (size_t at = run.Log.find("ErrNum:"); at != std::string::npos;
         at = run.Log.find("ErrNum:", at + 1))
        ++result.ErrorLines;
    AwaitExact(a, side, expected, start, result);
    return result;
}

struct Case {
    const char* Name;
    ReadMethod Method;
    int16_t Applet;
};

int Main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: inkrelay_draw_speed_win32 PRACTICE-APPLET.EXE [SIDE]\n");
        return 2;
    }
    const std::wstring program = win32::Wide(argv[1]);
    const int32_t side = argc > 2 ? std::stoi(argv[2]) : 100;
    const Picture photo = PhotoPicture(side);
    const Picture lineArt = LineArtPicture(side);
    std::printf(
        "| applet | list | events | run | to exact canvas (s) | events/s | "
        "pointer events/s | ÷ raw rate | failed checks |\n"
        "|---:|---|---:|---|---:|---:|---:|---:|---:|\n");
    for (const Case c :
         {Case{"photo, inkjet", ReadMethod::Inkjet, 1},
          Case{"photo, colour prime", ReadMethod::ColorPrime, 1},
          Case{"line art", ReadMethod::LineArt, 1}, Case{"photo, inkjet", ReadMethod::Inkjet, 4},
          Case{"line art", ReadMethod::LineArt, 4}}) {
        const Picture& picture = c.Method == ReadMethod::LineArt ? lineArt : photo;
        const DrawList list = ReadList(c.Method, picture);
        const std::vector<uint32_t> expected = ExpectedCanvas(c.Method, picture);
        const int16_t mode = c.Method == ReadMethod::LineArt ? 1 : 0;
        const Result raw = RunRaw(program, c.Applet, mode, list, side, expected);
        const auto row = [&](const char* run, const Result& r, const std::string& inputs) {
            const double rate = r.Seconds > 0 ? list.Events / r.Seconds : 0;
            const double rawRate = raw.Seconds > 0 ? list.Events / raw.Seconds : 0;
            char ratio[16] = "–";
            if (rawRate > 0)
                std::snprintf(ratio, sizeof ratio, "%.2f", rate / rawRate);
            if (r.Seconds > 0)
                std::printf("| %d | %s | %d | %s | %.2f | %.0f | %s | %s | %d |\n", c.Applet,
                            c.Name, list.Events, run, r.Seconds, rate, inputs.c_str(), ratio,
                            r.ErrorLines);
            else
                std::printf("| %d | %s | %d | %s | never exact (%d wrong) | – | %s | – | %d |\n",
                            c.Applet, c.Name, list.Events, run, r.Wrong, inputs.c_str(),
                            r.ErrorLines);
            std::fflush(stdout);
        };
        char inputs[32] = "–";
        if (raw.Seconds > 0)
            std::snprintf(inputs, sizeof inputs, "%.0f", raw.Inputs / raw.Seconds);
        row("raw SendInput (limit)", raw, inputs);
        row("drawing run, Check off",
            RunDrawing(program, c.Applet, mode, list, side, expected, false), "–");
        row("drawing run, Check on",
            RunDrawing(program, c.Applet, mode, list, side, expected, true), "–");
    }
    return 0;
}

}  // namespace
}  // namespace inkrelay::speed

int main(int argc, char** argv) {
    try {
        return inkrelay::speed::Main(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
