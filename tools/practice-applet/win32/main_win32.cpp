// practice-applet for Windows: the simulated applet in a Win32 window of its own, to practise on
// and to draw into from the Windows program's tests. It takes the X11 program's command line.

#include "win32_text.h"
// After windows.h.
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "canvas_png_win32.h"
#include "practice_arguments.h"
#include "practice_setup.h"
#include "practice_window_win32.h"

namespace {

using namespace inkrelay::practice;
using inkrelay::win32::Utf8;
using inkrelay::win32::Wide;
using inkrelay::win32::Win32Failure;

struct LocalFreeDeleter {
    void operator()(LPWSTR* memory) const noexcept { LocalFree(memory); }
};

// The arguments after the program's name, in UTF-8 for the shared parser.
std::vector<std::string> Arguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!wide)
        throw std::runtime_error(Win32Failure("CommandLineToArgvW"));
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Utf8(wide.get()[i]));
    return args;
}

// To the error output where there is one (a console, a pipe, a file); a program started from the
// desktop has none, and is shown a message box instead, so that no fault goes unseen.
void Say(const std::string& text) {
    const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    if (errors != nullptr && errors != INVALID_HANDLE_VALUE &&
        GetFileType(errors) != FILE_TYPE_UNKNOWN) {
        DWORD written = 0;
        if (WriteFile(errors, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
                0 &&
            written == text.size())
            return;
    }
    std::wstring wide;
    try {
        wide = Wide(text);
    } catch (const std::exception&) {
        wide = L"practice-applet failed";
    }
    // Nothing is left to tell of the message box failing too.
    MessageBoxW(nullptr, wide.c_str(), L"practice-applet", MB_OK | MB_ICONERROR);
}

}  // namespace

int main() {
    try {
        std::string error;
        const auto args = ParsePracticeArguments(Arguments(), error);
        if (!args) {
            Say(ArgumentFault(error));
            return BadArgumentsStatus;
        }
        // A scaled window would put the model's pixels where the screen's are not.
        if (SetProcessDPIAware() == 0)
            throw std::runtime_error(Win32Failure("SetProcessDPIAware"));
        PracticeWindow window(SetUp(*args));
        const int status = window.Run();
        if (status != 0)
            return status;
        if (!args->DumpFile.empty()) {
            const inkrelay::AppletPlace& place = window.Applet().Options().Place;
            try {
                WriteCanvasPng(Wide(args->DumpFile), place.CanvasWidth, place.CanvasHeight,
                               window.Applet().CanvasPixels());
            } catch (const std::exception& failure) {
                Say("practice-applet: cannot write " + args->DumpFile + ": " + failure.what() +
                    "\n");
                return FailedStatus;
            }
        }
        return 0;
    } catch (const std::exception& failure) {
        Say(std::string("practice-applet: ") + failure.what() + "\n");
    }
    return FailedStatus;
}
