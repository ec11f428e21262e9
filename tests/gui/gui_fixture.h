#pragma once
// One started program per test: its windows on the offscreen platform, a simulated desktop, a
// fresh program folder, and an end hook that throws so that the program's end can be observed.

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "application.h"
#include "fake_ui.h"
#include "form1.h"
#include "modal_driver.h"
#include "sim_desktop.h"
#include "temp_dir.h"

namespace inkrelay::test {

class GuiTest : public testing::Test {
  protected:
    GuiTest();

    // Creates the program over a colourBits desktop and runs Start; returns the exit status
    // when the start ended the program.
    std::optional<int> Launch(int32_t colourBits = 24);

    // Runs a handler that may end the program; returns the exit status if it did.
    template <typename Body>
    std::optional<int> Ending(Body&& body) {
        try {
            body();
        } catch (const ProgramEnded& ended) {
            return ended.ExitStatus;
        }
        return std::nullopt;
    }

    ui::InkrelayApp& App() { return *app_; }
    AppState& State() { return app_->State(); }
    ui::Form1& Main() { return app_->MainWindow(); }
    const ui::Form1Controls& C() { return app_->MainWindow().Controls(); }
    void UpdateControls();
    SimDesktop& Screen() { return *screen_; }

    std::filesystem::path SettingsFile() const { return Folder / "Inkrelay.ini"; }
    std::string SettingsText() const { return ReadFile(SettingsFile()); }

    TempDir Folder;
    ModalDriver Modals;

  private:
    std::unique_ptr<SimDesktop> screen_;
    std::unique_ptr<ui::InkrelayApp> app_;
};

// Qt's text of a widget or action as UTF-8, for readable failures.
std::string Utf8(const QString& text);
// What a control shows as its caption: a frame's title, a button's or label's text, a text
// box's text; empty for the rest.
QString CaptionOf(const QWidget* control);

}  // namespace inkrelay::test
