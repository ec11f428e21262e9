#include "sim_desktop.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "runtime_error.h"

namespace inkrelay {

class SimDesktop::Dc final : public ScreenReader {
  public:
    explicit Dc(SimDesktop& desktop) : desktop_(desktop) { ++desktop_.openDcs_; }
    ~Dc() override { --desktop_.openDcs_; }
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    uint32_t ReadPixel(int32_t x, int32_t y) override {
        desktop_.Called();
        ++desktop_.pixelReads_;
        return desktop_.PixelAt(x, y);
    }

    void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                    std::span<uint32_t> out) override {
        desktop_.Called();
        CheckRegionArguments(width, height, out);
        ++desktop_.regionReads_;
        size_t k = 0;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                out[k++] = desktop_.PixelAt(int64_t{left} + x, int64_t{top} + y);
    }

  private:
    SimDesktop& desktop_;
};

SimDesktop::SimDesktop(int32_t width, int32_t height, int32_t colourBits)
    : width_(width), height_(height), colourBits_(colourBits) {
    if (width < 1 || height < 1 || width > INT16_MAX || height > INT16_MAX) {
        throw std::invalid_argument("SimDesktop: screen size out of range");
    }
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), White);
}

void SimDesktop::MovePointer(int16_t x, int16_t y) {
    Called();
    const ScreenPoint to{static_cast<int16_t>(std::clamp<int32_t>(x, 0, width_ - 1)),
                         static_cast<int16_t>(std::clamp<int32_t>(y, 0, height_ - 1))};
    if (to != cursor_) {
        cursor_ = to;
        if (OnMove) {
            OnMove(cursor_, leftHeld_);
        }
    }
    // The sender spent its time on the call whether the pointer moved or not.
    SpendInputCost();
}

ScreenPoint SimDesktop::PointerPosition() {
    Called();
    return cursor_;
}

void SimDesktop::Button(MouseAction action) {
    Called();
    mouseLog_.push_back({action, cursor_});
    switch (action) {
        case MouseAction::LeftDown: leftHeld_ = true; break;
        case MouseAction::LeftUp: leftHeld_ = false; break;
        case MouseAction::RightDown: rightHeld_ = true; break;
        case MouseAction::RightUp: rightHeld_ = false; break;
    }
    if (OnMouse) {
        OnMouse(action, cursor_);
    }
    SpendInputCost();
}

bool SimDesktop::IsKeyDown(Key key) {
    Called();
    if ((key == Key::LeftButton && leftHeld_) || (key == Key::RightButton && rightHeld_)) {
        return true;
    }
    return pressedKeys_.contains(key);
}

std::unique_ptr<ScreenReader> SimDesktop::OpenScreen() {
    if (!dcAvailable_) {
        throw RuntimeError(ErrorCode::DeviceUnavailable);
    }
    return std::make_unique<Dc>(*this);
}

void SimDesktop::Sleep(uint32_t milliseconds) {
    Called();
    AdvanceClock(milliseconds);
    slept_ += milliseconds;
}

int32_t SimDesktop::TickCount() {
    Called();
    const int32_t now = std::bit_cast<int32_t>(Now());
    AdvanceClock(autoAdvance_);
    return now;
}

void SimDesktop::SetClock(int32_t ticks) {
    clockMicros_ = uint64_t{std::bit_cast<uint32_t>(ticks)} * 1000;
}

bool SimDesktop::OnScreen(int64_t x, int64_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
}

void SimDesktop::SetPixel(int32_t x, int32_t y, uint32_t colour) {
    if (OnScreen(x, y)) {
        pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
            colour;
    }
}

uint32_t SimDesktop::PixelAt(int64_t x, int64_t y) const {
    if (!OnScreen(x, y)) {
        return ClrInvalid;
    }
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void SimDesktop::Fill(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t colour) {
    // 64-bit so a rectangle reaching past INT32_MAX clips instead of overflowing.
    const int64_t x0 = std::max<int64_t>(left, 0);
    const int64_t y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{left} + width, width_);
    const int64_t y1 = std::min<int64_t>(int64_t{top} + height, height_);
    for (int64_t y = y0; y < y1; ++y) {
        for (int64_t x = x0; x < x1; ++x) {
            pixels_[static_cast<size_t>(y * width_ + x)] = colour;
        }
    }
}

}  // namespace inkrelay
