// A run interrupted from outside: Esc held and the question answered either way, the main
// window closed while drawing, and a screen of too few colours.

#include "road_fixture.h"

namespace inkrelay::road_test {
namespace {

class EscRoadTest : public RoadTest {
  protected:
    void SetUp() override {
        InkrelaySettings settings;
        settings.Applet = 1;
        Start(ColourPicture(64), settings);
        ReadyToDraw();
        program_->StartDrawing();
        WaitForPaint();
    }
};

TEST_F(EscRoadTest, YesStopsTheRunAndLogsItsEnd) {
    StopWithEscape(*program_, std::chrono::seconds(30));
    EXPECT_GT(Mismatches(QuantisedCanvas(picture_), true), 0) << "the run went on to the end";
}

TEST_F(EscRoadTest, NoGoesOnToAnExactPicture) {
    GoOnAfterEscape(*program_, std::chrono::seconds(30));
    EXPECT_EQ(Mismatches(QuantisedCanvas(picture_)), 0);
    ExpectLogOfRun(program_->Log(), {});
}

TEST_F(RoadTest, ClosingTheMainWindowWhileDrawingIsRefused) {
    InkrelaySettings settings;
    settings.Applet = 2;
    Start(ColourPicture(64), settings);
    ReadyToDraw();
    program_->StartDrawing();
    WaitForPaint();
    x_.AskToClose(program_->MainWindow().Id);
    const MessageBox refused = program_->WaitForBox(std::chrono::seconds(30));
    EXPECT_EQ(refused.Icon, BoxIcon::Critical);
    program_->Accept(refused);
    const MessageBox done = ClosingBox();
    EXPECT_EQ(done.Icon, BoxIcon::Information);
    program_->Accept(done);
    EXPECT_TRUE(program_->Process().Running());
    EXPECT_TRUE(x_.Viewable(program_->MainWindow().Id));
    EXPECT_EQ(Mismatches(QuantisedCanvas(picture_)), 0);
    ExpectLogOfRun(program_->Log(), settings);
}

class SixteenBitRoadTest : public RoadTest {
  protected:
    SixteenBitRoadTest() : RoadTest(16) {}

    // The depth box answered; the exit status.
    int RunToTheDepthBox(const std::optional<InkrelaySettings>& settings) {
        const std::filesystem::path folder = folder_ / "program";
        std::filesystem::create_directories(folder);
        road::Inkrelay program(x_, INKRELAY_PROGRAM, INKRELAY_README, Display(), folder, settings,
                               false);
        const MessageBox depth = program.WaitForBox(std::chrono::seconds(20));
        EXPECT_EQ(depth.Icon, BoxIcon::Critical);
        EXPECT_FALSE(x_.FindWindow("インクリレー - 画像ウィンドウ"));
        program.Accept(depth);
        return program.Process().Wait(std::chrono::seconds(20)).value_or(-1);
    }
};

TEST_F(SixteenBitRoadTest, RefusesTheScreenAndLeavesTheSettingsAsTheyWere) {
    ASSERT_EQ(x_.Depth(), 16);
    const int status = RunToTheDepthBox(std::nullopt);
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1) << "inkrelay did not end";
    EXPECT_FALSE(std::filesystem::exists(folder_ / "program" / "Inkrelay.ini"));

    InkrelaySettings settings;
    settings.Applet = 3;
    settings.Speed = 2;
    const int again = RunToTheDepthBox(settings);
    EXPECT_NE(again, 0);
    EXPECT_NE(again, -1) << "inkrelay did not end";
    EXPECT_EQ(test::ReadFile(folder_ / "program" / "Inkrelay.ini"), settings.Text());
}

}  // namespace
}  // namespace inkrelay::road_test
