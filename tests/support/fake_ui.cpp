#include "fake_ui.h"

#include "runtime_error.h"

namespace inkrelay::test {

namespace {

template <typename T>
void Keep(std::optional<T>& current, const std::optional<T>& next) {
    if (next)
        current = next;
}

}  // namespace

void FakeUi::ShowMessage(const std::string& text, MessageIcon icon) {
    Messages.push_back({text, icon, false});
}

MessageAnswer FakeUi::AskYesNo(const std::string& text, MessageIcon icon) {
    Messages.push_back({text, icon, true});
    if (Answers.empty())
        return MessageAnswer::No;
    const MessageAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void FakeUi::ApplyControls(const ControlStates& s) {
    Applied.push_back(s);
    ControlStates& c = Current;
    Keep(c.FileOpen, s.FileOpen);
    Keep(c.FileExit, s.FileExit);
    Keep(c.EditPaste, s.EditPaste);
    Keep(c.EditSelectAll, s.EditSelectAll);
    Keep(c.EditSelectSquare, s.EditSelectSquare);
    Keep(c.EditCancelSelection, s.EditCancelSelection);
    Keep(c.ViewImageWindow, s.ViewImageWindow);
    Keep(c.Option1Enabled, s.Option1Enabled);
    Keep(c.Option2Enabled, s.Option2Enabled);
    Keep(c.Picture1Back, s.Picture1Back);
    Keep(c.Option1Value, s.Option1Value);
    Keep(c.Option2Value, s.Option2Value);
    Keep(c.Combo1Enabled, s.Combo1Enabled);
    Keep(c.Combo1Index, s.Combo1Index);
    Keep(c.Command1, s.Command1);
    Keep(c.Command2, s.Command2);
    Keep(c.Command3, s.Command3);
    Keep(c.Command4, s.Command4);
    Keep(c.Command5, s.Command5);
    Keep(c.Command6, s.Command6);
    Keep(c.Text1, s.Text1);
    Keep(c.Text2, s.Text2);
    Keep(c.Text3, s.Text3);
    Keep(c.Text4, s.Text4);
    Keep(c.StatusText, s.StatusText);
    // The option buttons are one group: the rules' values are what the next look sees.
    if (s.Option1Value || s.Option2Value) {
        Inputs.Selected = c.Option1Value.value_or(false)   ? SelectedOption::Option1
                          : c.Option2Value.value_or(false) ? SelectedOption::Option2
                                                           : SelectedOption::None;
    }
}

void FakeUi::SetProgressRange(int32_t minimum, int32_t maximum) {
    ProgressMinimum = minimum;
    ProgressMaximum = maximum;
}

void FakeUi::ShowImageWindow() {
    ImageWindowShown = true;
    Inputs.ImageWindowVisible = true;
}

void FakeUi::HideImageWindow() {
    ImageWindowShown = false;
    Inputs.ImageWindowVisible = false;
}

std::optional<std::string> FakeUi::ChooseOpenFile(std::span<const FileFilter> filters) {
    ++OpenDialogCount;
    OpenFilters.assign(filters.begin(), filters.end());
    if (OpenAnswers.empty())
        return std::nullopt;
    std::optional<std::string> answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return answer;
}

Picture FakeUi::LoadPicture(const std::string& path) {
    LoadedPaths.push_back(path);
    if (const auto failure = FailingFiles.find(path); failure != FailingFiles.end())
        throw RuntimeError(failure->second);
    const auto file = PictureFiles.find(path);
    if (file == PictureFiles.end())
        throw RuntimeError(ErrorCode::FileNotFound);
    return file->second;
}

Picture FakeUi::ClipboardPicture() {
    if (!Clipboard)
        throw RuntimeError(ErrorCode::InvalidClipboardFormat);
    return *Clipboard;
}

void FakeUi::PaintImageView(const ImageViewLayout& layout, const Picture& picture) {
    ++PaintCount;
    PaintedLayout = layout;
    const int32_t innerWidth = layout.Width - 2;
    const int32_t innerHeight = layout.Height - 2;
    PaintedPixels.clear();
    for (int32_t y = 0; y < innerHeight; ++y) {
        for (int32_t x = 0; x < innerWidth; ++x)
            PaintedPixels.push_back(picture.PixelAt(layout.ViewX + x, layout.ViewY + y));
    }
}

void FakeUi::EndProgram(int exitStatus) {
    throw ProgramEnded{exitStatus};
}

std::vector<std::string> FakeUi::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : Messages) texts.push_back(m.Text);
    return texts;
}

}  // namespace inkrelay::test
