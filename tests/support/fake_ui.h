#pragma once
// A Ui that records what the core shows and asks, for tests without a display.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/control_states.h"
#include "app/ui_port.h"
#include "scan/scan_preview.h"

namespace inkrelay::test {

// Thrown by FakeUi::EndProgram so that "does not return" can be observed.
struct ProgramEnded {
    int ExitStatus;
};

struct ShownMessage {
    std::string Text;
    MessageIcon Icon;
    bool Question = false;
};

class FakeUi : public Ui {
  public:
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    MessageAnswer AskYesNo(const std::string& text, MessageIcon icon) override;
    ControlInputs ObserveControls() override { return Inputs; }
    void ApplyControls(const ControlStates& states) override;
    void SetProgressRange(int32_t minimum, int32_t maximum) override;
    void SetProgressValue(int32_t value) override { ProgressValues.push_back(value); }
    void ShowImageWindow() override;
    void HideImageWindow() override;
    void FocusMainWindow() override { ++FocusCount; }
    std::optional<std::string> ChooseOpenFile(std::span<const FileFilter> filters) override;
    Picture LoadPicture(const std::string& path) override;
    Picture ClipboardPicture() override;
    ClientSize ImageWindowClientSize() override { return ImageClient; }
    void PaintImageView(const ImageViewLayout& layout, const Picture& picture) override;
    void SetImageViewVisible(bool visible) override { ImageViewVisible = visible; }
    void SetImageViewPointer(PointerShape shape) override { Pointer = shape; }
    ClientSize ScanPreviewSize() override { return PreviewBox; }
    void ClearScanPreview() override { Preview.reset(); }
    void ShowScanPreview(const ScanPreview& preview) override { Preview = preview; }
    void ShowMagnifier(const MagnifierImage& image) override {
        Magnifier = image;
        ++MagnifierCount;
    }
    void KeepOnTop() override { ++KeepOnTopCount; }
    void YieldOnce() override {
        ++YieldCount;
        if (OnYield)
            OnYield();
    }
    void OpenWithShell(const std::string& path) override { OpenedDocuments.push_back(path); }
    void UnloadOtherWindows() override { ++UnloadCount; }
    [[noreturn]] void EndProgram(int exitStatus) override;

    // Texts of the messages shown, in order.
    std::vector<std::string> Texts() const;

    ControlInputs Inputs;
    std::deque<MessageAnswer> Answers;  // for AskYesNo; No when empty
    std::vector<ShownMessage> Messages;
    std::vector<ControlStates> Applied;
    ControlStates Current;  // the controls after every ApplyControls, empty fields kept
    std::vector<int32_t> ProgressValues;
    int32_t ProgressMinimum = 0, ProgressMaximum = 100;
    bool ImageWindowShown = false;
    int FocusCount = 0, KeepOnTopCount = 0, YieldCount = 0, UnloadCount = 0;
    std::vector<std::string> OpenedDocuments;
    ClientSize PreviewBox{61, 61};
    std::optional<ScanPreview> Preview;  // what the preview box shows; empty when cleared

    // The open dialog: each call takes the next answer, a cancel when none is left.
    std::deque<std::optional<std::string>> OpenAnswers;
    std::vector<FileFilter> OpenFilters;  // as the last dialog was given them
    int OpenDialogCount = 0;
    // The general loader: these pictures by path, these failures by path, 53 for the rest.
    std::map<std::string, Picture> PictureFiles;
    std::map<std::string, int32_t> FailingFiles;
    std::vector<std::string> LoadedPaths;
    std::optional<Picture> Clipboard;  // raises 460 when empty
    ClientSize ImageClient{400, 300};
    bool ImageViewVisible = false;
    std::optional<ImageViewLayout> PaintedLayout;
    // The display's client as the last paint showed it: surface pixels, InvalidColour off it.
    std::vector<uint32_t> PaintedPixels;
    int PaintCount = 0;
    PointerShape Pointer = PointerShape::Arrow;
    std::function<void()> OnYield;            // runs inside every yield, as other handlers would
    std::optional<MagnifierImage> Magnifier;  // the last one shown
    int MagnifierCount = 0;
};

}  // namespace inkrelay::test
