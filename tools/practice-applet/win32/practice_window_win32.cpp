#include "practice_window_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace inkrelay::practice {

namespace {

constexpr wchar_t ClassName[] = L"InkrelayPracticeApplet";
constexpr UINT ReportMessage = WM_APP + 1;
constexpr int HintMargin = 8;  // left, right and below the hint, none above
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int64_t MonotonicMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

COLORREF ColourRef(uint32_t colour) {
    return RGB(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
}

UniqueGdi<HFONT> MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) == 0)
        throw std::runtime_error(Win32Failure("SystemParametersInfoW"));
    UniqueGdi<HFONT> font(CreateFontIndirectW(&metrics.lfMessageFont));
    if (!font)
        throw std::runtime_error(Win32Failure("CreateFontIndirectW"));
    return font;
}

struct ScreenDcReleaser {
    void operator()(HDC dc) const noexcept { ReleaseDC(nullptr, dc); }
};

SIZE TextSize(HFONT font, const std::wstring& text) {
    const std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcReleaser> dc(GetDC(nullptr));
    if (!dc)
        throw std::runtime_error("GetDC of the screen failed");
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    if (previous == nullptr || previous == HGDI_ERROR)
        throw std::runtime_error("SelectObject of the hint's font failed");
    SIZE size{};
    const BOOL measured =
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc.get(), previous);
    if (measured == 0)
        throw std::runtime_error(Win32Failure("GetTextExtentPoint32W"));
    return size;
}

// A timer that wakes the loop within a millisecond where the system can; otherwise at the
// system's own timer resolution, which only shows late paints later.
UniqueHandle WaitableTimer() {
    // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION (Windows 10 1803 on), which MinGW's headers lack.
    constexpr DWORD HighResolution = 0x00000002;
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, HighResolution, TIMER_ALL_ACCESS);
    if (timer == nullptr)
        timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    if (timer == nullptr)
        throw std::runtime_error(Win32Failure("CreateWaitableTimerExW"));
    return UniqueHandle(timer);
}

}  // namespace

PracticeWindow::ClassRegistration::ClassRegistration(HINSTANCE instance) : Instance(instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PracticeWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = ClassName;
    if (windowClass.hCursor == nullptr)
        throw std::runtime_error(Win32Failure("LoadCursorW"));
    if (RegisterClassExW(&windowClass) == 0)
        throw std::runtime_error(Win32Failure("RegisterClassExW"));
}

PracticeWindow::ClassRegistration::~ClassRegistration() {
    UnregisterClassW(ClassName, Instance);
}

PracticeWindow::PracticeWindow(const PracticeSetup& setup)
    : session_(setup, MonotonicMicros),
      surfaceBox_{0, 0, setup.SurfaceWidth, setup.SurfaceHeight},
      hint_(Wide(Hint(setup.Options))),
      font_(MessageFont()),
      background_(CreateSolidBrush(ColourRef(setup.Background))),
      hintSize_(TextSize(font_.get(), hint_)),
      timer_(WaitableTimer()),
      class_(GetModuleHandleW(nullptr)) {
    if (!background_)
        throw std::runtime_error(Win32Failure("CreateSolidBrush"));
    RECT frame{0, 0, std::max<LONG>(setup.SurfaceWidth, hintSize_.cx + 2 * HintMargin),
               setup.SurfaceHeight + hintSize_.cy + HintMargin};
    if (AdjustWindowRectEx(&frame, Style, FALSE, 0) == 0)
        throw std::runtime_error(Win32Failure("AdjustWindowRectEx"));
    // WM_NCCREATE keeps this in the window; a failure on the way is in failure_.
    const HWND window =
        CreateWindowExW(0, ClassName, Wide(WindowTitle()).c_str(), Style, CW_USEDEFAULT,
                        CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                        nullptr, class_.Instance, this);
    if (window == nullptr)
        throw std::runtime_error(failure_.value_or(Win32Failure("CreateWindowExW")));
    session_.TakeChanged();
    ShowWindow(window_.Handle, SW_SHOWNORMAL);
    if (UpdateWindow(window_.Handle) == 0)
        throw std::runtime_error("UpdateWindow failed");
    // Posted behind the first paint, so the places are printed once the surface is painted.
    if (PostMessageW(window_.Handle, ReportMessage, 0, 0) == 0)
        throw std::runtime_error(Win32Failure("PostMessageW"));
}

PracticeWindow::OwnedWindow::~OwnedWindow() {
    if (Handle == nullptr)
        return;
    SetWindowLongPtrW(Handle, GWLP_USERDATA, 0);
    DestroyWindow(Handle);
}

int PracticeWindow::Run() {
    for (;;) {
        if (failure_)
            throw std::runtime_error(*failure_);
        // The timer first: a stream of moves must not keep late paints and frames from showing.
        HANDLE timer = timer_.get();
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) {
            OnTimer();
            continue;
        }
        if (woken != WAIT_OBJECT_0 + 1)
            throw std::runtime_error(Win32Failure("MsgWaitForMultipleObjectsEx"));
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) == 0)
            continue;
        if (message.message == WM_QUIT) {
            if (failure_)
                throw std::runtime_error(*failure_);
            return static_cast<int>(message.wParam);
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK PracticeWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<PracticeWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_.Handle = window;
        SetLastError(0);
        if (SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self)) == 0 &&
            GetLastError() != 0) {
            self->failure_ = Win32Failure("SetWindowLongPtrW");
            self->window_.Handle = nullptr;
            return FALSE;
        }
    }
    auto* self = reinterpret_cast<PracticeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->window_.Handle = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT PracticeWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
        case WM_LBUTTONDOWN: Button(MouseAction::LeftDown, wParam, lParam); return 0;
        case WM_LBUTTONUP: Button(MouseAction::LeftUp, wParam, lParam); return 0;
        case WM_RBUTTONDOWN: Button(MouseAction::RightDown, wParam, lParam); return 0;
        case WM_RBUTTONUP: Button(MouseAction::RightUp, wParam, lParam); return 0;
        case WM_MOUSEMOVE: Moved(wParam, lParam); return 0;
        case WM_CAPTURECHANGED: grabbed_ = false; return 0;
        case ReportMessage: ReportPlaces(); return 0;
        case WM_CLOSE:
            if (DestroyWindow(window_.Handle) == 0)
                Fail(Win32Failure("DestroyWindow"));
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window_.Handle, message, wParam, lParam);
    }
}

void PracticeWindow::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window_.Handle, &paint);
    if (dc == nullptr) {
        Fail("BeginPaint failed");
        return;
    }
    RECT client;
    bool painted = GetClientRect(window_.Handle, &client) != 0;
    const PixelBuffer& surface = session_.Surface();
    const RECT& asked = paint.rcPaint;
    const LONG top = std::max<LONG>(asked.top, 0),
               bottom = std::min<LONG>(asked.bottom, surface.Height());
    const LONG left = std::max<LONG>(asked.left, 0),
               right = std::min<LONG>(asked.right, surface.Width());
    if (painted && top < bottom && left < right) {
        // Only the rows asked for, as a DIB of their own: a top-down DIB's source rows are
        // then the whole of it, with no question of where its row 0 lies.
        BITMAPINFO rows{};
        rows.bmiHeader.biSize = sizeof rows.bmiHeader;
        rows.bmiHeader.biWidth = surface.Width();
        rows.bmiHeader.biHeight = -(bottom - top);
        rows.bmiHeader.biPlanes = 1;
        rows.bmiHeader.biBitCount = 32;
        rows.bmiHeader.biCompression = BI_RGB;
        const uint32_t* first = surface.Words() + static_cast<size_t>(top) * surface.Width();
        painted =
            SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(right - left),
                              static_cast<DWORD>(bottom - top), left, 0, 0,
                              static_cast<UINT>(bottom - top), first, &rows, DIB_RGB_COLORS) != 0;
    }
    // Right of the surface and under it: the background and the hint.
    const RECT besides{surface.Width(), 0, client.right, surface.Height()};
    const RECT under{0, surface.Height(), client.right, client.bottom};
    for (const RECT& part : {besides, under})
        if (painted && part.left < part.right && part.top < part.bottom)
            painted = FillRect(dc, &part, background_.get()) != 0;
    if (painted) {
        const HGDIOBJ previous = SelectObject(dc, font_.get());
        painted = previous != nullptr && previous != HGDI_ERROR &&
                  SetBkMode(dc, TRANSPARENT) != 0 &&
                  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT)) != CLR_INVALID &&
                  TextOutW(dc, HintMargin, surface.Height(), hint_.c_str(),
                           static_cast<int>(hint_.size())) != 0;
        if (previous != nullptr && previous != HGDI_ERROR)
            SelectObject(dc, previous);
    }
    EndPaint(window_.Handle, &paint);
    if (!painted)
        Fail("painting the practice window failed");
}

bool PracticeWindow::InSurface(POINT at) const {
    return at.x >= surfaceBox_.Left && at.x < surfaceBox_.Right() && at.y >= surfaceBox_.Top &&
           at.y < surfaceBox_.Bottom();
}

void PracticeWindow::Button(MouseAction action, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // As the X11 window's view has it: a press under the surface is the hint's; once a press
    // has the mouse every button and move is the surface's until all buttons are up.
    if (IsPress(action) && !grabbed_) {
        if (!InSurface(at))
            return;
        SetCapture(window_.Handle);
        grabbed_ = true;
    }
    if (!grabbed_)
        return;
    session_.Mouse(action, {static_cast<int16_t>(at.x), static_cast<int16_t>(at.y)});
    // A release's flags are the buttons still down after it.
    if (!IsPress(action) && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        grabbed_ = false;
        if (GetCapture() == window_.Handle && ReleaseCapture() == 0)
            Fail(Win32Failure("ReleaseCapture"));
    }
    ShowChanges();
}

void PracticeWindow::Moved(WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!grabbed_ && !InSurface(at))
        return;
    session_.Move({static_cast<int16_t>(at.x), static_cast<int16_t>(at.y)},
                  (wParam & MK_LBUTTON) != 0);
    ShowChanges();
}

void PracticeWindow::OnTimer() {
    timerDue_.reset();
    session_.Wake();
    ShowChanges();
}

void PracticeWindow::ShowChanges() {
    if (const auto wake = session_.NextWake()) {
        const int64_t due = MonotonicMicros() + *wake;
        // A timer due sooner is left alone: set again at every input, a quick drag would keep
        // it from ever going off.
        if (!timerDue_ || *timerDue_ > due) {
            LARGE_INTEGER relative;
            relative.QuadPart = -std::max<int64_t>(*wake * 10, 1);  // 100 ns units, negative
            if (SetWaitableTimer(timer_.get(), &relative, 0, nullptr, nullptr, FALSE) == 0)
                return Fail(Win32Failure("SetWaitableTimer"));
            timerDue_ = due;
        }
    } else if (timerDue_) {
        if (CancelWaitableTimer(timer_.get()) == 0)
            return Fail(Win32Failure("CancelWaitableTimer"));
        timerDue_.reset();
    }
    const PracticeBox changed = session_.TakeChanged();
    if (changed.Empty())
        return;
    const RECT box{changed.Left, changed.Top, changed.Right(), changed.Bottom()};
    if (InvalidateRect(window_.Handle, &box, FALSE) == 0)
        return Fail("InvalidateRect failed");
    // Painted now, not when the queue is empty, so the next input meets it on the screen.
    if (UpdateWindow(window_.Handle) == 0)
        return Fail("UpdateWindow failed");
    if (GdiFlush() == 0)
        Fail("GdiFlush failed");
}

void PracticeWindow::ReportPlaces() {
    const auto onScreen = [this](ScreenPoint p) {
        POINT at{p.X, p.Y};
        if (ClientToScreen(window_.Handle, &at) == 0)
            Fail("ClientToScreen failed");
        return ScreenPoint{static_cast<int16_t>(at.x), static_cast<int16_t>(at.y)};
    };
    const std::string places =
        PlacesReport(onScreen(Applet().CanvasOrigin()), onScreen(Applet().BarPoint()));
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    // Started without an output, as from the desktop, there is no one to tell.
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (WriteFile(out, places.data(), static_cast<DWORD>(places.size()), &written, nullptr) == 0 ||
        written != places.size())
        Fail(Win32Failure("writing the places to the output"));
}

void PracticeWindow::Fail(const std::string& what) {
    if (!failure_)
        failure_ = what;
    PostQuitMessage(FailedStatus);
}

}  // namespace inkrelay::practice
