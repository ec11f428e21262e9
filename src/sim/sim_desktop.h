#pragma once
// A simulated desktop for tests: a framebuffer the screen reads come from, a pointer clamped to
// it, buttons and keys the test controls, and a virtual clock that only moves when told to.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "desktop/desktop.h"

namespace inkrelay {

class SimDesktop : public Desktop {
  public:
    // One button event and where the pointer stood when it happened.
    struct MouseRecord {
        MouseAction Action{};
        ScreenPoint At;
        friend bool operator==(const MouseRecord&, const MouseRecord&) = default;
    };

    static constexpr uint32_t White = 0x00FFFFFFu;

    // width and height in 1..32767, so every pixel has a ScreenPoint; std::invalid_argument else.
    // The screen starts white, the pointer at (0, 0), the clock at 0.
    SimDesktop(int32_t width, int32_t height, int32_t colourBits = 24);

    DesktopCapabilities Capabilities() override { return capabilities_; }
    void SetCapabilities(DesktopCapabilities capabilities) { capabilities_ = capabilities; }
    int32_t ColourBits() override { return colourBits_; }
    ScreenSize ScreenPixels() override { return {width_, height_}; }
    // Clamps to the screen; calls OnMove when the position changed.
    void MovePointer(int16_t x, int16_t y) override;
    ScreenPoint PointerPosition() override;
    // Log the event, update the button state, then call OnMouse.
    void PressButton(MouseButton button) override { Button(ActionOf(button, true)); }
    void ReleaseButton(MouseButton button) override { Button(ActionOf(button, false)); }
    // Buttons are down when held through PressButton or pressed by the test.
    bool IsKeyDown(Key key) override;
    // Reads the framebuffer; must not outlive the desktop. RuntimeError(68) when made unavailable.
    std::unique_ptr<ScreenReader> OpenScreen() override;
    // Advances the clock; no real time passes.
    void Sleep(uint32_t milliseconds) override;
    // The clock, then advances it by the auto-advance step.
    int32_t TickCount() override;

    // Framebuffer, colours 0x00BBGGRR. Writes off the screen are dropped, Fill is clipped.
    void SetPixel(int32_t x, int32_t y, uint32_t colour);
    uint32_t PixelAt(int64_t x, int64_t y) const;  // ClrInvalid off the screen
    void Fill(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t colour);
    int64_t PixelReads() const { return pixelReads_; }    // ReadPixel calls of every DC
    int64_t RegionReads() const { return regionReads_; }  // ReadRegion calls of every DC
    int32_t OpenDcCount() const { return openDcs_; }      // DCs not yet destroyed
    void SetDcAvailable(bool available) { dcAvailable_ = available; }

    // Input the test gives, as a user would.
    void PressKey(Key key) { pressedKeys_.insert(key); }
    void ReleaseKey(Key key) { pressedKeys_.erase(key); }
    bool LeftHeld() const { return leftHeld_; }
    bool RightHeld() const { return rightHeld_; }
    const std::vector<MouseRecord>& MouseLog() const { return mouseLog_; }
    void ClearMouseLog() { mouseLog_.clear(); }

    // Hooks for a simulated applet painting into the framebuffer.
    std::function<void(MouseAction, ScreenPoint)> OnMouse;
    std::function<void(ScreenPoint, bool leftHeld)> OnMove;
    // Called first in every ReadPixel, ReadRegion, TickCount, MovePointer, button event,
    // IsKeyDown, PointerPosition and Sleep, so an applet can lag behind the program's calls.
    std::function<void()> OnCall;

    // The clock wraps like a 32-bit tick counter read as signed.
    void SetClock(int32_t ticks);
    void AdvanceClock(uint32_t milliseconds) { clockMicros_ += uint64_t{milliseconds} * 1000; }
    // Each TickCount advances the clock by this much, so busy waits on it end.
    void SetAutoAdvance(uint32_t millisecondsPerRead) { autoAdvance_ = millisecondsPerRead; }
    // Each MovePointer and button event advances the clock by this much once it is delivered:
    // the sender's own time for an event, so a run's input is spread out as a real one is.
    void SetInputCostMicros(uint32_t micros) { inputCostMicros_ = micros; }
    uint64_t SleptMilliseconds() const { return slept_; }
    // The clock, without moving it.
    uint32_t Now() const { return static_cast<uint32_t>(clockMicros_ / 1000); }
    // The clock in microseconds, without the wrap: Now() is its milliseconds as the tick counter
    // has them.
    int64_t NowMicros() const { return static_cast<int64_t>(clockMicros_); }

  private:
    class Dc;

    bool OnScreen(int64_t x, int64_t y) const;
    void Button(MouseAction action);
    void Called() const {
        if (OnCall)
            OnCall();
    }
    void SpendInputCost() { clockMicros_ += inputCostMicros_; }

    int32_t width_;
    int32_t height_;
    int32_t colourBits_;
    DesktopCapabilities capabilities_;
    std::vector<uint32_t> pixels_;
    ScreenPoint cursor_;
    bool leftHeld_ = false;
    bool rightHeld_ = false;
    std::set<Key> pressedKeys_;
    std::vector<MouseRecord> mouseLog_;
    int64_t pixelReads_ = 0;
    int64_t regionReads_ = 0;
    int32_t openDcs_ = 0;
    bool dcAvailable_ = true;
    // Microseconds, so an input cost under a millisecond still adds up.
    uint64_t clockMicros_ = 0;
    uint32_t autoAdvance_ = 0;
    uint32_t inputCostMicros_ = 0;
    uint64_t slept_ = 0;
};

}  // namespace inkrelay
