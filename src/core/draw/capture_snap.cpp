#include "draw/capture_snap.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "draw/browser_look.h"

namespace inkrelay {

namespace {

// The screen around a click, read once; off the screen reads ClrInvalid.
class Region {
  public:
    Region(ScreenReader& dc, int32_t left, int32_t top, int32_t width, int32_t height)
        : left_(left),
          top_(top),
          width_(width),
          height_(height),
          pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)) {
        dc.ReadRegion(left, top, width, height, pixels_);
    }
    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Right() const { return left_ + width_; }
    int32_t Bottom() const { return top_ + height_; }
    uint32_t At(int32_t x, int32_t y) const {
        if (x < left_ || y < top_ || x >= Right() || y >= Bottom())
            return ClrInvalid;
        return pixels_[static_cast<size_t>(y - top_) * static_cast<size_t>(width_) +
                       static_cast<size_t>(x - left_)];
    }

  private:
    int32_t left_, top_, width_, height_;
    std::vector<uint32_t> pixels_;
};

bool Near(uint32_t pixel, uint32_t colour, int32_t tolerance) {
    if (pixel == ClrInvalid)
        return false;
    for (int shift = 0; shift < 24; shift += 8) {
        const auto a = static_cast<int32_t>(pixel >> shift & 0xFFu);
        const auto b = static_cast<int32_t>(colour >> shift & 0xFFu);
        if (std::abs(a - b) > tolerance)
            return false;
    }
    return true;
}

// The boxes' border measured #030303; a browser's scaling or colour management keeps it dark.
bool Dark(uint32_t pixel) {
    return Near(pixel, BrowserBarBorder, 0x2D);
}

struct Box {
    int32_t Left, Top, Width, Height;
    bool Contains(ScreenPoint p, int32_t margin) const {
        return p.X >= Left - margin && p.X < Left + Width + margin && p.Y >= Top - margin &&
               p.Y < Top + Height + margin;
    }
    bool Measured() const { return Width == BrowserBarBoxWidth && Height == BrowserBarBoxHeight; }
};

struct Run {
    int32_t Row, Left, Length;
};

// Dark stretches along the rows, long enough to be a box's top or bottom.
std::vector<Run> DarkRuns(const Region& r) {
    constexpr int32_t Shortest = 8;
    std::vector<Run> runs;
    for (int32_t y = r.Top(); y < r.Bottom(); ++y) {
        int32_t x = r.Left();
        while (x < r.Right()) {
            if (!Dark(r.At(x, y))) {
                ++x;
                continue;
            }
            const int32_t start = x;
            while (x < r.Right() && Dark(r.At(x, y))) ++x;
            if (x - start >= Shortest)
                runs.push_back({y, start, x - start});
        }
    }
    return runs;
}

// Rectangles of a dark one-pixel outline, whatever their size, that are not solid dark.
std::vector<Box> DarkBoxes(const Region& r, const std::vector<Run>& runs) {
    constexpr int32_t Tallest = 4 * BrowserBarBoxHeight;
    std::map<std::pair<int32_t, int32_t>, std::vector<int32_t>> rowsOf;  // (left, length)
    for (const Run& run : runs) rowsOf[{run.Left, run.Length}].push_back(run.Row);
    std::vector<Box> boxes;
    for (const auto& [shape, rows] : rowsOf) {
        const auto [left, width] = shape;
        for (size_t t = 0; t < rows.size(); ++t) {
            for (size_t b = t + 1; b < rows.size() && rows[b] - rows[t] < Tallest; ++b) {
                const int32_t top = rows[t], bottom = rows[b];
                if (bottom - top < 2)
                    continue;
                bool sides = true;
                for (int32_t y = top; y <= bottom && sides; ++y)
                    sides = Dark(r.At(left, y)) && Dark(r.At(left + width - 1, y));
                if (sides && !Dark(r.At(left + width / 2, (top + bottom) / 2)))
                    boxes.push_back({left, top, width, bottom - top + 1});
            }
        }
    }
    return boxes;
}

// Whether the box's first interior column shows the channel's fill: it is never narrower than
// one column, and the label leaves some of its rows free.
bool ShowsFill(const Region& r, const Box& box, int channel) {
    constexpr int32_t RowsNeeded = 4;
    int32_t rows = 0;
    for (int32_t y = box.Top + 1; y < box.Top + box.Height - 1; ++y)
        rows += Near(r.At(box.Left + 1, y), BrowserBarFill[static_cast<size_t>(channel)], 0x18);
    return rows >= RowsNeeded;
}

CaptureSnap StandBy(ScreenPoint click, SnapOutcome why) {
    return {click, why};
}

}  // namespace

CaptureSnap SnapToRedBar(ScreenReader& dc, ScreenPoint click) {
    // Wide enough for a whole box at twice the size on either side of the click, tall enough for
    // the red box above a click on the alpha box, and the alpha box below one on the red box.
    constexpr int32_t ReachX = 2 * BrowserBarBoxWidth + 2 * SnapReach;
    constexpr int32_t ReachY =
        (BrowserBarCount - 1) * BrowserBarPitch + BrowserBarBoxHeight + 2 * SnapReach;
    const Region r(dc, click.X - ReachX, click.Y - ReachY, 2 * ReachX + 1, 2 * ReachY + 1);
    const std::vector<Run> runs = DarkRuns(r);
    const std::vector<Box> boxes = DarkBoxes(r, runs);

    std::optional<Box> clicked;
    bool otherSize = false;
    for (const Box& box : boxes) {
        if (!box.Contains(click, SnapReach))
            continue;
        if (box.Measured())
            clicked = box;
        else
            otherSize = true;
    }
    if (!clicked) {
        if (otherSize)
            return StandBy(click, SnapOutcome::WrongSize);
        // A box's edge by the click that closes into no box, with no whole box about: the rest
        // of it is hidden. Beside whole boxes the click only missed them.
        const bool wholeBox =
            std::ranges::any_of(boxes, [](const Box& box) { return box.Measured(); });
        const bool edgeNear = !wholeBox && std::ranges::any_of(runs, [&](const Run& run) {
            return std::abs(run.Row - click.Y) <= BrowserBarBoxHeight + SnapReach &&
                   run.Left - SnapReach <= click.X &&
                   click.X < run.Left + std::max(run.Length, BrowserBarBoxWidth) + SnapReach;
        });
        return StandBy(click, edgeNear ? SnapOutcome::Covered : SnapOutcome::NothingNear);
    }

    // The boxes of the clicked one's size in its column, and the unbroken ladder through it.
    std::set<int32_t> tops;
    for (const Box& box : boxes)
        if (box.Measured() && box.Left == clicked->Left)
            tops.insert(box.Top);
    int32_t first = clicked->Top, last = clicked->Top;
    while (tops.contains(first - BrowserBarPitch)) first -= BrowserBarPitch;
    while (tops.contains(last + BrowserBarPitch)) last += BrowserBarPitch;
    const int32_t ladder = (last - first) / BrowserBarPitch + 1;
    const bool others =
        std::ranges::any_of(tops, [&](int32_t top) { return top < first || top > last; });
    if (ladder > BrowserBarCount || (ladder < BrowserBarCount && others))
        return StandBy(click, SnapOutcome::WrongPitch);
    if (ladder < BrowserBarCount)
        return StandBy(click, SnapOutcome::Covered);
    for (int channel = 0; channel < BrowserBarCount; ++channel) {
        const Box box{clicked->Left, first + channel * BrowserBarPitch, BrowserBarBoxWidth,
                      BrowserBarBoxHeight};
        if (!ShowsFill(r, box, channel))
            return StandBy(click, SnapOutcome::Covered);
    }
    const auto x = static_cast<int16_t>(clicked->Left);
    const auto y = static_cast<int16_t>(first + BrowserBarBoxHeight / 2);
    return {{x, y}, SnapOutcome::Snapped};
}

CaptureSnap SnapToCanvasCorner(ScreenReader& dc, ScreenPoint click) {
    // The border's two arms must reach this far from the corner.
    constexpr int32_t Arm = 8;
    constexpr int32_t Reach = SnapReach + 2;
    const Region r(dc, click.X - Reach - 1, click.Y - Reach - 1, 2 * Reach + Arm + 2,
                   2 * Reach + Arm + 2);
    const auto border = [&](int32_t x, int32_t y) {
        return Near(r.At(x, y), BrowserCanvasBorder, 0x10);
    };
    std::optional<ScreenPoint> corner;
    int32_t nearest = 0;
    for (int32_t y = click.Y - Reach; y <= click.Y + Reach; ++y) {
        for (int32_t x = click.X - Reach; x <= click.X + Reach; ++x) {
            if (border(x, y) || r.At(x, y) == ClrInvalid || !border(x - 1, y - 1))
                continue;
            bool arms = true;
            for (int32_t k = 0; k < Arm && arms; ++k)
                arms = border(x - 1, y + k) && border(x + k, y - 1);
            const int32_t distance = std::max(std::abs(x - click.X), std::abs(y - click.Y));
            if (arms && (!corner || distance < nearest)) {
                corner = ScreenPoint{static_cast<int16_t>(x), static_cast<int16_t>(y)};
                nearest = distance;
            }
        }
    }
    if (!corner)
        return StandBy(click, SnapOutcome::NothingNear);
    return {*corner, SnapOutcome::Snapped};
}

std::string SnapNote(const CaptureSnap& snap, bool bar) {
    const std::string stands = "：クリックした位置のままです";
    switch (snap.Outcome) {
        case SnapOutcome::Snapped:
            return bar ? "赤 (R) のバーの 0 の位置にあわせました"
                       : "キャンバスの左上の角にあわせました";
        case SnapOutcome::NothingNear:
            return (bar ? "クリックの近くにバーが見つかりません"
                        : "クリックの近くにキャンバスの角が見つかりません") +
                   stands;
        case SnapOutcome::WrongSize:
            return "バーの大きさが違います (ブラウザの表示倍率を 100% に)" + stands;
        case SnapOutcome::WrongPitch: return "バーの間隔や数が違います" + stands;
        case SnapOutcome::Covered: return "バーの一部が隠れているか色が違います" + stands;
    }
    return stands;
}

}  // namespace inkrelay
