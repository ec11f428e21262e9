#pragma once
// A Ui that records what the core shows and asks, for tests without a display.

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/control_states.h"
#include "app/ui_port.h"

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
    void KeepOnTop() override { ++KeepOnTopCount; }
    void YieldOnce() override { ++YieldCount; }
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
};

}  // namespace inkrelay::test
