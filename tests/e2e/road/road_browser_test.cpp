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

    // Both captures made a few pixels off the exact points, as a user clicks: on the red bar's
    // fill, and inside the canvas near its corner. The log's header names the exact points.
    void DrawFromCapturesNearThePoints(int16_t applet) {
        InkrelaySettings settings;
        settings.Applet = applet;
        settings.Formula = 1;
        Start(ColourPicture(32), settings);
        DrawQuantisedToCompletion(settings, {2, 3}, {21, 4});
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

TEST_F(BrowserRoadTest, capturesNearThePointsSnapToThemOnPaintBBSNeo) {
    DrawFromCapturesNearThePoints(4);
}

TEST_F(BrowserRoadTest, capturesNearThePointsSnapToThemOnShiPainterNeo) {
    DrawFromCapturesNearThePoints(5);
}

}  // namespace
}  // namespace inkrelay::road_test
