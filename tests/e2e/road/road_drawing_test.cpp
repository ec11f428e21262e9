// Whole runs through the real program into the practice applet: every applet with both
// full-colour reads, and traced line art.

#include <tuple>

#include "road_fixture.h"

namespace inkrelay::road_test {
namespace {

class ColourRoadTest : public RoadTest,
                       public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(ColourRoadTest, DrawsTheQuantisedPicturePixelForPixel) {
    const auto [applet, formula] = GetParam();
    InkrelaySettings settings;
    settings.Applet = applet;
    settings.Formula = formula;
    Start(ColourPicture(64), settings);
    ReadyToDraw();
    // The preview shows the picture: the read really happened.
    const road::ScreenImage preview = program_->Preview();
    EXPECT_NE(std::count(preview.Pixels.begin(), preview.Pixels.end(), preview.Pixels[0]),
              static_cast<long>(preview.Pixels.size()));

    program_->StartDrawing();
    const MessageBox done = ClosingBox();
    EXPECT_EQ(done.Icon, BoxIcon::Information);
    program_->Accept(done);
    EXPECT_EQ(Mismatches(QuantisedCanvas(picture_)), 0);
    ExpectLogOfRun(program_->Log(), settings);
    EXPECT_TRUE(program_->Process().Running());
}

INSTANTIATE_TEST_SUITE_P(Applets, ColourRoadTest,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Values(0, 1)),
                         [](const auto& info) {
                             return "Applet" + std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == 0 ? "Inkjet" : "ColourPrime");
                         });

TEST_F(RoadTest, TracedLineArtEqualsTheMask) {
    InkrelaySettings settings;
    settings.Applet = 3;
    settings.Mode = 1;
    settings.ScanCol = 0;
    Start(LineArtPicture(64), settings);
    ReadyToDraw();
    program_->StartDrawing();
    const MessageBox done = ClosingBox();
    EXPECT_EQ(done.Icon, BoxIcon::Information);
    program_->Accept(done);
    EXPECT_EQ(Mismatches(LineMask(picture_)), 0);
    const std::string log = program_->Log();
    ExpectLogOfRun(log, settings);
    EXPECT_EQ(CountLines(log, "ErrNum:"), 0) << log;
}

// A left-handed mouse: the server maps the device's button 1 to 3 and 3 to 1. Synthetic input
// is given as device buttons, so a program that pressed button 1 for a dot would pick a colour up
// instead; the user's road (a right click on the canvas, a left one on the bar) and the drawing
// must both keep to the user's buttons.
TEST_F(RoadTest, ALeftHandedMouseDrawsWithTheUsersLeftButton) {
    const std::vector<unsigned char> usual = x_.PointerMapping();
    ASSERT_GE(usual.size(), 3u);
    std::vector<unsigned char> leftHanded = usual;
    std::swap(leftHanded[0], leftHanded[2]);
    x_.SetPointerMapping(leftHanded);
    struct Restore {
        road::XDriver& X;
        const std::vector<unsigned char>& Mapping;
        ~Restore() { X.SetPointerMapping(Mapping); }
    } restore{x_, usual};

    InkrelaySettings settings;
    settings.Applet = 1;
    settings.Formula = 1;
    Start(ColourPicture(32), settings);
    const std::string log = DrawQuantisedToCompletion(settings);
    EXPECT_EQ(CountLines(log, "ErrNum:"), 0) << log;
}

// A Wayland session announced: the X server at hand may show only some windows, which the
// program says once at start; against the X server it has it then draws as usual.
TEST_F(RoadTest, AWaylandSessionIsAnnouncedOnceAndTheDrawingGoesOn) {
    StartWith({"WAYLAND_DISPLAY=wayland-0"}, true);
    InkrelaySettings settings;
    settings.Applet = 1;
    Start(ColourPicture(24), settings);
    ASSERT_TRUE(startBox_.has_value());
    EXPECT_EQ(startBox_->Icon, BoxIcon::Information);
    DrawQuantisedToCompletion(settings);
}

}  // namespace
}  // namespace inkrelay::road_test
