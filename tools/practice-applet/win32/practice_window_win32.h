#pragma once
// The Win32 practice window: the applet's surface at the client area's top left, so the model's
// coordinates are the window's, and a one-line hint under it. Once the surface is on the screen
// it prints where the canvas and the red bar's captured point are on stdout. What an input
// changed is painted before the next message is taken; the model's time comes from a waitable
// timer the message loop waits on beside the queue.

#include "practice_session.h"
#include "practice_setup.h"
#include "win32_text.h"

#include <optional>
#include <string>

namespace inkrelay::practice {

using win32::UniqueGdi;
using win32::UniqueHandle;
using win32::Wide;
using win32::Win32Failure;

class PracticeWindow {
  public:
    // Shown at once; std::runtime_error when a part of it cannot be made.
    explicit PracticeWindow(const PracticeSetup& setup);
    ~PracticeWindow() = default;
    PracticeWindow(const PracticeWindow&) = delete;
    PracticeWindow& operator=(const PracticeWindow&) = delete;

    // Takes messages until the window is closed and returns 0; std::runtime_error for a call
    // that failed on the way.
    int Run();
    const SimApplet& Applet() const { return session_.Applet(); }

  private:
    struct ClassRegistration {
        explicit ClassRegistration(HINSTANCE instance);
        ~ClassRegistration();
        ClassRegistration(const ClassRegistration&) = delete;
        ClassRegistration& operator=(const ClassRegistration&) = delete;
        HINSTANCE Instance;
    };

    // The window destroyed with the object, the partly made one too; detached from the object
    // first, so what the destruction sends does not reach members already gone.
    struct OwnedWindow {
        OwnedWindow() = default;
        ~OwnedWindow();
        OwnedWindow(const OwnedWindow&) = delete;
        OwnedWindow& operator=(const OwnedWindow&) = delete;
        HWND Handle = nullptr;
    };

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Button(MouseAction action, WPARAM wParam, LPARAM lParam);
    void Moved(WPARAM wParam, LPARAM lParam);
    void ShowChanges();
    void ReportPlaces();
    void OnTimer();
    // Stops the loop with the failed call's words, which Run() throws.
    void Fail(const std::string& what);
    bool InSurface(POINT at) const;

    PracticeSession session_;
    PracticeBox surfaceBox_;
    std::wstring hint_;
    UniqueGdi<HFONT> font_;
    UniqueGdi<HBRUSH> background_;
    SIZE hintSize_{};
    UniqueHandle timer_;
    std::optional<int64_t> timerDue_;  // the clock's microseconds the timer is set for
    ClassRegistration class_;
    OwnedWindow window_;
    bool grabbed_ = false;  // a press in the surface holds the mouse until every button is up
    std::optional<std::string> failure_;
};

}  // namespace inkrelay::practice
