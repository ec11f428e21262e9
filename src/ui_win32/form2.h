#pragma once
// The image window: the picture display on the window's background, hidden until a picture is
// loaded; the core lays it out on every resize. The display's mouse and focus events go to the
// core, which decides the range, the view and the pointer.

#include "image/range_selection.h"
#include "image/view_geometry.h"
#include "pixel_surface.h"
#include "win32_window.h"

namespace inkrelay {
class Picture;
struct Program;
}  // namespace inkrelay

namespace inkrelay::win32 {

class PictureDisplay final : public Win32Window {
  public:
    PictureDisplay(Program& program, HWND window);

    // Moves the display to layout (its one-pixel border included) and copies the picture's
    // surface from (ViewX, ViewY) into its client area.
    void ShowBlock(const ImageViewLayout& layout, const Picture& picture);
    void SetPointer(PointerShape shape);
    const PixelSurface& Surface() const { return surface_; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Forward(UINT message, WPARAM wParam, LPARAM lParam);

    Program& program_;
    PixelSurface surface_;
    HCURSOR pointer_ = nullptr;
};

class Form2 final : public Win32Window {
  public:
    // Starts with the main window's outer size; owned by nobody and never modal.
    Form2(Program& program, HWND mainWindow);

    PictureDisplay& Display() { return *display_; }
    // The client area's size.
    SIZE ClientSize() const;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    Program& program_;
    std::unique_ptr<PictureDisplay> display_;
};

}  // namespace inkrelay::win32
