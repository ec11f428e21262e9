#pragma once
// The core's window port over the Win32 windows.

#include <functional>

#include "app/ui_port.h"

namespace inkrelay::win32 {

class Win32App;

class Win32Ui final : public Ui {
  public:
    // endProgram is called with the exit status and is not expected to return.
    Win32Ui(Win32App& app, std::function<void(int)> endProgram);

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    MessageAnswer AskYesNo(const std::string& text, MessageIcon icon) override;
    ControlInputs ObserveControls() override;
    void ApplyControls(const ControlStates& states) override;
    void SetProgressRange(int32_t minimum, int32_t maximum) override;
    void SetProgressValue(int32_t value) override;
    void ShowImageWindow() override;
    void HideImageWindow() override;
    void FocusMainWindow() override;
    std::optional<std::string> ChooseOpenFile(std::span<const FileFilter> filters) override;
    Picture LoadPicture(const std::string& path) override;
    Picture ClipboardPicture() override;
    ClientSize ImageWindowClientSize() override;
    void PaintImageView(const ImageViewLayout& layout, const Picture& picture) override;
    void SetImageViewVisible(bool visible) override;
    void SetImageViewPointer(PointerShape shape) override;
    ClientSize ScanPreviewSize() override;
    void ClearScanPreview() override;
    void ShowScanPreview(const ScanPreview& preview) override;
    void ShowMagnifier(const MagnifierImage& image) override;
    void KeepOnTop() override;
    void YieldOnce() override;
    void OpenWithShell(const std::string& path) override;
    void UnloadOtherWindows() override;
    [[noreturn]] void EndProgram(int exitStatus) override;

  private:
    Win32App& app_;
    std::function<void(int)> endProgram_;
};

}  // namespace inkrelay::win32
