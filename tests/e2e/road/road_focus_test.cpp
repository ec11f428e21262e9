// Under a window manager the main window keeps the keyboard focus when the picture window
// shows, so the next shortcut works without a click on the main window first.

#include "road_fixture.h"

namespace inkrelay::road_test {
namespace {

class WindowManagerRoadTest : public RoadTest {
  protected:
    void SetUp() override {
        manager_ = std::make_unique<road::ChildProcess>(
            std::vector<std::string>{"/usr/bin/openbox", "--sm-disable"}, Display(),
            folder_ / "openbox.err");
        ASSERT_TRUE(
            road::WaitUntil([&] { return x_.WindowManagerRunning(); }, std::chrono::seconds(10)))
            << manager_->Errors();
        StartInkrelay(InkrelaySettings{});
    }

    // The focus comes back to the main window, and a shortcut typed then reaches it: the range
    // readouts change.
    void ExpectShortcutWorks(const std::vector<std::string_view>& keys, const char* what) {
        ASSERT_TRUE(road::WaitUntil([&] { return x_.HasFocus(program_->MainWindow().Id); },
                                    std::chrono::seconds(5)))
            << "the main window did not get the focus back before " << what;
        const road::Rect readouts = program_->ScreenRect({16, 152, 81, 42});
        const road::ScreenImage before = x_.Grab(readouts);
        x_.Chord(keys);
        EXPECT_NO_THROW(x_.WaitForChange(readouts, before, std::chrono::seconds(5), what));
    }

    std::unique_ptr<road::ChildProcess> manager_;
};

TEST_F(WindowManagerRoadTest, shortcutsWorkRightAfterThePictureWindowShows) {
    picture_ = ColourPicture(40);
    const std::filesystem::path file = folder_ / "picture.png";
    WritePng(picture_, file);
    program_->OpenPicture(file);
    ExpectShortcutWorks({"Control_L", "a"}, "the readouts after Ctrl+A straight after 開く");

    // 画像ウィンドウ off and on again from the keyboard, then the next shortcut.
    x_.Chord({"Alt_L", "v"});
    x_.Chord({"i"});
    x_.WaitUntilGone(x_.WaitForWindow("インクリレー - 画像ウィンドウ", std::chrono::seconds(5)).Id,
                     std::chrono::seconds(5));
    x_.Chord({"Alt_L", "v"});
    x_.Chord({"i"});
    x_.WaitForWindow("インクリレー - 画像ウィンドウ", std::chrono::seconds(5));
    ExpectShortcutWorks({"Control_L", "d"},
                        "the readouts after Ctrl+D straight after 画像ウィンドウ");

    // すべて選択 with the picture window hidden shows it again.
    x_.Chord({"Alt_L", "v"});
    x_.Chord({"i"});
    x_.WaitUntilGone(x_.WaitForWindow("インクリレー - 画像ウィンドウ", std::chrono::seconds(5)).Id,
                     std::chrono::seconds(5));
    ExpectShortcutWorks({"Control_L", "a"}, "the readouts after Ctrl+A with the window hidden");
    x_.WaitForWindow("インクリレー - 画像ウィンドウ", std::chrono::seconds(5));
    ExpectShortcutWorks({"Control_L", "d"}, "the readouts after Ctrl+D straight after すべて選択");
}

}  // namespace
}  // namespace inkrelay::road_test
