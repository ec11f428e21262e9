// Whole runs through the real program into the practice applet as PaintBBS NEO: the mark under
// the held button, paint at frame ticks and merged moves, with the check reading in batches.

#include "road_fixture.h"

namespace inkrelay::road_test {
namespace {

class BrowserRoadTest : public RoadTest {
  protected:
    void DrawAndExpectExact(const Picture& picture, const InkrelaySettings& settings,
                            const std::vector<uint32_t>& expected) {
        Start(picture, settings);
        ReadyToDraw();
        program_->StartDrawing();
        const MessageBox done = ClosingBox();
        EXPECT_EQ(done.Icon, BoxIcon::Information);
        program_->Accept(done);
        EXPECT_EQ(Mismatches(expected), 0);
        ExpectLogOfRun(program_->Log(), settings);
    }
};

TEST_F(BrowserRoadTest, manyColoursEndExactWithTheCheckOn) {
    InkrelaySettings settings;
    settings.Applet = 4;
    settings.Formula = 1;
    DrawAndExpectExact(ColourPicture(64), settings, QuantisedCanvas(ColourPicture(64)));
}

TEST_F(BrowserRoadTest, tracedLineArtEndsExactWithTheCheckOn) {
    InkrelaySettings settings;
    settings.Applet = 4;
    settings.Mode = 1;
    settings.ScanCol = 0;
    DrawAndExpectExact(LineArtPicture(64), settings, LineMask(LineArtPicture(64)));
}

}  // namespace
}  // namespace inkrelay::road_test
