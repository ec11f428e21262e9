#include "draw_speed_counting.h"

namespace inkrelay::speed {

namespace {

class CountingDc final : public ScreenReader {
  public:
    CountingDc(std::unique_ptr<ScreenReader> inner, HarnessTallies& tallies)
        : inner_(std::move(inner)), tallies_(tallies) {}
    uint32_t ReadPixel(int32_t x, int32_t y) override {
        return Timed(tallies_.PixelReads, [&] { return inner_->ReadPixel(x, y); });
    }
    void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                    std::span<uint32_t> out) override {
        Timed(tallies_.RegionReads, [&] { inner_->ReadRegion(left, top, width, height, out); });
    }

  private:
    std::unique_ptr<ScreenReader> inner_;
    HarnessTallies& tallies_;
};

}  // namespace

CountingDesktop::CountingDesktop(Desktop& inner, HarnessTallies& tallies,
                                 std::optional<int32_t> escapeAt)
    : inner_(inner), tallies_(tallies), escapeAt_(escapeAt) {}

void CountingDesktop::MovePointer(int16_t x, int16_t y) {
    Timed(tallies_.Moves, [&] { inner_.MovePointer(x, y); });
}

void CountingDesktop::PressButton(MouseButton button) {
    Timed(tallies_.Buttons, [&] { inner_.PressButton(button); });
}

void CountingDesktop::ReleaseButton(MouseButton button) {
    Timed(tallies_.Buttons, [&] { inner_.ReleaseButton(button); });
}

bool CountingDesktop::IsKeyDown(Key key) {
    if (key != Key::Escape)
        return inner_.IsKeyDown(key);
    const bool down = Timed(tallies_.EscapePolls, [&] { return inner_.IsKeyDown(key); });
    return down || (escapeAt_ && tallies_.EscapePolls.Calls >= *escapeAt_);
}

std::unique_ptr<ScreenReader> CountingDesktop::OpenScreen() {
    return std::make_unique<CountingDc>(inner_.OpenScreen(), tallies_);
}

CountedRun RunCounted(Desktop& screen, const DrawList& list, const DrawSettings& settings,
                      HarnessTallies& tallies, std::optional<int32_t> stopAfter,
                      const std::function<void()>& yield) {
    CountedRun result;
    DrawHooks hooks;
    hooks.Yield = [&] { Timed(tallies.Yields, yield); };
    hooks.SetProgressMaximum = [](int32_t) {};
    hooks.SetProgress = [](int32_t) {};
    // Only the abort question is asked, and only where the run is to stop.
    hooks.AskYesNo = [](const std::string&) { return true; };
    hooks.Show = [&result](const std::string& text, DrawNotice) {
        result.CompletedBox = result.CompletedBox || text == DrawingCompletedMessage;
    };
    hooks.FocusMainWindow = [] {};
    hooks.TimeOfDay = [] { return LocalTimeOfDay(); };
    hooks.WriteLog = [&result](const DrawLogLines& lines) {
        for (const std::string& line : lines)
            if (!line.empty())
                result.Log += line + "\n";
    };
    CountingDesktop desktop(screen, tallies, stopAfter);
    DrawRun run(desktop, *list.Mem, list.End, settings, hooks);
    result.Outcome = run.Run().Outcome;
    return result;
}

}  // namespace inkrelay::speed
