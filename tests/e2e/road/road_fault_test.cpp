// Runs into a misbehaving applet: lost bar presses, late paint, bars at the other pitch, and an
// applet that paints nothing.

#include "road_fixture.h"

namespace inkrelay::road_test {
namespace {

class FaultRoadTest : public RoadTest {
  protected:
    // A whole run on applet that ends with the completion box; its log.
    std::string DrawToCompletion(int applet, int32_t side, const std::vector<std::string>& args) {
        InkrelaySettings settings;
        settings.Applet = applet;
        Start(ColourPicture(side), settings, args);
        return DrawQuantisedToCompletion(settings);
    }
};

TEST_F(FaultRoadTest, LostBarPressesAreRedrawnAndLogged) {
    const std::string log = DrawToCompletion(1, 48, {"--drop-every", "7"});
    EXPECT_GT(CountLines(log, "ErrNum:"), 0) << log;
}

// The check waits up to a second for paint to show, so paint 20 ms late costs no retry.
TEST_F(FaultRoadTest, LatePaintIsWaitedFor) {
    const std::string log = DrawToCompletion(1, 48, {"--lag", "20"});
    EXPECT_EQ(CountLines(log, "ErrNum:"), 0) << log;
}

// Sixteen failures at the first pitch switch the run to the second; a press lost well after that
// shows the second layout in the log, and few enough lines keep the error ring from wrapping.
TEST_F(FaultRoadTest, BarsAtTheOtherPitchAreFoundAfterSixteenFailures) {
    const std::string log = DrawToCompletion(3, 32, {"--layout", "1", "--drop-every", "150"});
    ASSERT_LT(CountLines(log, "ErrNum:"), 30) << log;
    EXPECT_NE(log.find("ErrCnt:16  RGBBarNum:0"), std::string::npos) << log;
    const size_t secondLayout = log.find("RGBBarNum:1");
    ASSERT_NE(secondLayout, std::string::npos) << log;
    EXPECT_EQ(log.find("RGBBarNum:0", secondLayout), std::string::npos) << log;
}

TEST_F(RoadTest, DeadAppletFailsWithThreeBoxesInOrder) {
    InkrelaySettings settings;
    settings.Applet = 1;
    Start(ColourPicture(16), settings, {"--dead"});
    ReadyToDraw();
    program_->StartDrawing();
    const std::string log = AnswerADeadAppletsBoxes(*program_, RunTimeout);
    ExpectLogOfRun(log, settings);
    EXPECT_EQ(Mismatches(std::vector<uint32_t>(16 * 16, White)), 0);
}

}  // namespace
}  // namespace inkrelay::road_test
