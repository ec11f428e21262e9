#pragma once
// The main window. Each control's and menu item's event goes to the core; Apply shows what the
// control rules decided.

#include <optional>
#include <string_view>

#include "app/control_states.h"
#include "pixel_surface.h"
#include "win32_layout.h"
#include "win32_window.h"

namespace inkrelay::win32 {

class Win32App;

class Form1 final : public Win32Window {
  public:
    explicit Form1(Win32App& app);
    ~Form1() override;

    const Win32Controls& Controls() const { return *controls_; }
    HWND Control(std::string_view name) const { return controls_->Find(name); }
    HMENU MenuBar() const { return menuBar_; }
    HACCEL Accelerators() const { return accelerators_.get(); }

    // Every non-empty field reaches its control; empty ones leave the control as it is.
    void Apply(const ControlStates& states);
    SelectedOption Selected() const;
    void SetImageWindowChecked(bool checked);
    void SetProgressRange(int minimum, int maximum);
    void SetProgressValue(int value);

    // The preview (Picture2) and the magnifier (Picture3): their inner sizes, and what they
    // show, painted again after each change.
    PixelSurface& Preview() { return preview_; }
    PixelSurface& Magnifier() { return magnifier_; }
    void RepaintPictureBox(std::string_view name);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void OnMenuItem(std::string_view name);
    void OnControl(std::string_view name, WORD notification);
    void EnableMenuEntry(std::string_view name, const std::optional<bool>& enabled);
    void SetSwatch(const SwatchColour& colour);

    Win32App& app_;
    HMENU menuBar_ = nullptr;
    AcceleratorHandle accelerators_;
    std::optional<Win32Controls> controls_;
    PixelSurface preview_;
    PixelSurface magnifier_;
    SwatchColour swatch_;
    BrushHandle swatchBrush_;
};

}  // namespace inkrelay::win32
