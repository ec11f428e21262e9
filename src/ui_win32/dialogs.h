#pragma once
// The version dialog and the options dialog, each built from its rows of the layout table. The
// program shows them modally (Win32App::RunModal); OK, Cancel, Esc and the close box only hide
// them, and they stay made until the program ends.

#include <optional>

#include "app/options_dialog.h"
#include "win32_layout.h"
#include "win32_window.h"

namespace inkrelay {
struct Program;
}

namespace inkrelay::win32 {

class TableDialog : public Win32Window {
  public:
    const Win32Controls& Controls() const { return *controls_; }
    HWND Control(std::string_view name) const { return controls_->Find(name); }

    // Shows the dialog over its owner with the focus on its first control.
    void Present();
    // Alt with a label's mnemonic letter takes the focus to the control the label names, which
    // stands before the label in the table; true when message was one.
    bool TakeMnemonic(const MSG& message);

  protected:
    TableDialog(const WindowLayout& layout, HWND owner, HFONT font);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Enter, or the default button.
    virtual void Accept() { ::ShowWindow(Handle(), SW_HIDE); }
    // Esc, Cancel and the close box.
    virtual void Reject() { ::ShowWindow(Handle(), SW_HIDE); }
    virtual void OnShowing() {}
    virtual void OnControl(std::string_view name) = 0;

  private:
    const WindowLayout& layout_;
    std::optional<Win32Controls> controls_;
};

class Dialog1 final : public TableDialog {
  public:
    Dialog1(HWND owner, HFONT font, HFONT boldFont);

  protected:
    void OnControl(std::string_view name) override;
};

class Dialog2 final : public TableDialog {
  public:
    Dialog2(Program& program, HWND owner, HFONT font);

  protected:
    void Accept() override;
    void OnShowing() override;
    void OnControl(std::string_view name) override;

  private:
    void ShowValues(const OptionsControls& values);
    OptionsControls ReadValues() const;

    Program& program_;
    OptionsDialogLogic logic_;
};

}  // namespace inkrelay::win32
