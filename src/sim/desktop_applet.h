#pragma once
// A SimApplet shown on a SimDesktop: it paints into the framebuffer and takes the desktop's
// button events, pointer moves and calls as its input.

#include "sim_applet.h"
#include "sim_desktop.h"

namespace inkrelay {

// The desktop's framebuffer as a surface to draw on.
class DesktopSurface final : public PixelSurface {
  public:
    explicit DesktopSurface(SimDesktop& desktop) : desktop_(desktop) {}
    int32_t Width() const override { return desktop_.ScreenPixels().Width; }
    int32_t Height() const override { return desktop_.ScreenPixels().Height; }
    void SetPixel(int32_t x, int32_t y, uint32_t colour) override {
        desktop_.SetPixel(x, y, colour);
    }
    uint32_t PixelAt(int32_t x, int32_t y) const override { return desktop_.PixelAt(x, y); }

  private:
    SimDesktop& desktop_;
};

class DesktopApplet {
  public:
    // Takes over the desktop's OnMouse, OnMove and OnCall until destroyed, then gives the
    // previous ones back. The desktop must outlive this.
    DesktopApplet(SimDesktop& desktop, const SimAppletOptions& options);
    ~DesktopApplet();
    DesktopApplet(const DesktopApplet&) = delete;
    DesktopApplet& operator=(const DesktopApplet&) = delete;

    SimApplet& Applet() { return applet_; }
    const SimApplet& Applet() const { return applet_; }

  private:
    SimDesktop& desktop_;
    DesktopSurface framebuffer_;
    SimApplet applet_;
    decltype(SimDesktop::OnMouse) previousOnMouse_;
    decltype(SimDesktop::OnMove) previousOnMove_;
    decltype(SimDesktop::OnCall) previousOnCall_;
};

}  // namespace inkrelay
