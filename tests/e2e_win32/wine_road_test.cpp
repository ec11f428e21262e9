// The Windows program's whole road under wine, driven from outside with X input as a user drives
// it: open a picture through the open dialog, select it all, read it, take both positions with
// clicks on practice-applet.exe, draw with the check on, and compare the applet's canvas on the
// screen, and in its dump, with what the Linux road expects; Esc held and answered either way; a
// dead applet's failure and its log; the settings file after exit.

// road_fixture.h's own fixture starts the Linux programs by these names; this program takes
// only its pictures and expectations from it, and finds its programs at run time.
#define INKRELAY_PROGRAM ""
#define INKRELAY_README ""
#define INKRELAY_PRACTICE_APPLET ""
#include "../e2e/road/road_fixture.h"
#include "wine_session.h"

namespace inkrelay::wine_road {
namespace {

using road_test::ColourPicture;
using road_test::CountLines;
using road_test::LineArtPicture;
using road_test::LineMask;
using road_test::QuantisedCanvas;
using road_test::WritePng;

constexpr auto RunTimeout = std::chrono::seconds(300);

WineSession* session = nullptr;

class WineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (const auto setup = WineSetup::FromEnvironment())
            session_ = std::make_unique<WineSession>(*setup);
        session = session_.get();
    }
    void TearDown() override {
        session = nullptr;
        session_.reset();
    }

  private:
    std::unique_ptr<WineSession> session_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new WineEnvironment);

class WineRoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (session == nullptr)
            GTEST_SKIP() << "INKRELAY_WIN32_BIN names no folder of inkrelay.exe and "
                            "practice-applet.exe";
    }

    void TearDown() override {
        if (session == nullptr)
            return;
        road_test::KeepScreenOfFailure(X());
        // Neither program outlives its test: the next one's windows would share their names.
        if (program_ && program_->Process().Running())
            program_->Process().Terminate(std::chrono::seconds(10));
        if (applet_ && applet_->Process().Running())
            applet_->Process().Terminate(std::chrono::seconds(10));
    }

    XDriver& X() { return session->X(); }
    std::filesystem::path DumpPath() const { return folder_ / "canvas.png"; }

    void StartProgram(const std::optional<InkrelaySettings>& settings) {
        program_ =
            std::make_unique<Inkrelay>(X(), WineLaunch(*session), folder_ / "program", settings);
    }

    // The applet with a canvas the picture's size at the top left, then inkrelay.exe beside it.
    void Start(const Picture& picture, const InkrelaySettings& settings,
               std::vector<std::string> appletArgs = {}) {
        picture_ = picture;
        appletArgs.insert(appletArgs.end(),
                          {"--applet", std::to_string(settings.Applet), "--canvas",
                           std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()),
                           "--dump", WindowsPath(DumpPath())});
        applet_ = std::make_unique<WineApplet>(*session, appletArgs, folder_.Path());
        StartProgram(settings);
        program_->KeepOutOfTheAppletsWay();
    }

    void ReadyToDraw() {
        const std::filesystem::path file = folder_ / "picture.png";
        WritePng(picture_, file);
        program_->ReadyToDraw(file, applet_->Canvas(), applet_->Bars());
    }

    road::Rect CanvasOnScreen() const {
        const Point at = applet_->Canvas();
        return {at.X, at.Y, picture_.Width(), picture_.Height()};
    }

    // Until some of the picture is on the canvas.
    void WaitForPaint() {
        ASSERT_TRUE(road::WaitUntil(
            [&] {
                int32_t painted = 0;
                for (const uint32_t p : X().Grab(CanvasOnScreen()).Pixels)
                    painted += p != road_test::White;
                return painted >= 20;
            },
            std::chrono::seconds(60)))
            << "nothing was painted";
    }

    // The canvas as the screen shows it, then the applet closed and its dump: the mismatches of
    // the screen, the first few reported unless quiet; the dump must agree with the screen.
    int32_t Mismatches(const std::vector<uint32_t>& expected, bool quiet = false) {
        const road::ScreenImage screen = X().Grab(CanvasOnScreen());
        const int32_t wrong = road_test::Differences(screen.Pixels, screen.Width, expected,
                                                     "the canvas on the screen", quiet);
        EXPECT_EQ(applet_->Close(), 0) << applet_->Process().Errors();
        EXPECT_EQ(
            road_test::Differences(road_test::DumpedCanvas(DumpPath(), picture_), picture_.Width(),
                                   screen.Pixels, "the dumped canvas", false),
            0);
        return wrong;
    }

    void ExpectLogOfRun(const std::string& log, const InkrelaySettings& settings) {
        road_test::ExpectLogOfRun(log, settings, picture_, applet_->Canvas(), applet_->Bars());
    }

    MessageBox ClosingBox() { return program_->WaitForBox(RunTimeout); }

    // A whole run to its completion box; the canvas against expected and the log's header.
    void DrawToCompletion(const InkrelaySettings& settings, const std::vector<uint32_t>& expected) {
        ReadyToDraw();
        program_->StartDrawing();
        const MessageBox done = ClosingBox();
        EXPECT_EQ(done.Icon, BoxIcon::Information);
        program_->Accept(done);
        EXPECT_EQ(Mismatches(expected), 0) << program_->Log();
        ExpectLogOfRun(program_->Log(), settings);
    }

    test::TempDir folder_;
    Picture picture_;
    std::unique_ptr<WineApplet> applet_;
    std::unique_ptr<Inkrelay> program_;
};

// The settings chosen are written back on exit as the Linux program writes them.
TEST_F(WineRoadTest, AFullColourPictureOnPaintBBSIsDrawnPixelForPixel) {
    InkrelaySettings settings;
    settings.Applet = 1;
    settings.Speed = 4;
    settings.AutoClose = 0;
    Start(ColourPicture(24), settings);
    DrawToCompletion(settings, QuantisedCanvas(picture_));
    EXPECT_EQ(program_->Exit(), 0);
    EXPECT_EQ(program_->Ini(), settings.Text());
}

TEST_F(WineRoadTest, TracedLineArtOnABrowserAppletEqualsTheMask) {
    InkrelaySettings settings;
    settings.Applet = 4;
    settings.Mode = 1;
    settings.ScanCol = 0;
    Start(LineArtPicture(32), settings);
    DrawToCompletion(settings, LineMask(picture_));
    EXPECT_EQ(CountLines(program_->Log(), "ErrNum:"), 0) << program_->Log();
}

TEST_F(WineRoadTest, AFullColourPictureOnABrowserAppletIsDrawnPixelForPixel) {
    InkrelaySettings settings;
    settings.Applet = 5;
    settings.Formula = 1;
    Start(ColourPicture(24), settings);
    DrawToCompletion(settings, QuantisedCanvas(picture_));
}

TEST_F(WineRoadTest, WithoutASettingsFileExitWritesTheDefaults) {
    StartProgram(std::nullopt);
    EXPECT_EQ(program_->Exit(), 0);
    EXPECT_EQ(program_->Ini(), InkrelaySettings{}.Text());
}

TEST_F(WineRoadTest, ADeadAppletFailsWithThreeBoxesInOrderAndTheLog) {
    InkrelaySettings settings;
    settings.Applet = 1;
    Start(ColourPicture(16), settings, {"--dead"});
    ReadyToDraw();
    program_->StartDrawing();
    const std::string log = road_test::AnswerADeadAppletsBoxes(*program_, RunTimeout);
    ExpectLogOfRun(log, settings);
    EXPECT_EQ(Mismatches(std::vector<uint32_t>(16 * 16, road_test::White)), 0);
}

class WineEscTest : public WineRoadTest {
  protected:
    void SetUp() override {
        WineRoadTest::SetUp();
        if (IsSkipped())
            return;
        Start(ColourPicture(48), InkrelaySettings{});
        ReadyToDraw();
        program_->StartDrawing();
        WaitForPaint();
    }
};

TEST_F(WineEscTest, YesStopsTheRunAndLogsItsEnd) {
    road_test::StopWithEscape(*program_, std::chrono::seconds(60));
    EXPECT_GT(Mismatches(QuantisedCanvas(picture_), true), 0) << "the run went on to the end";
}

TEST_F(WineEscTest, NoGoesOnToAnExactPicture) {
    road_test::GoOnAfterEscape(*program_, std::chrono::seconds(60));
    EXPECT_EQ(Mismatches(QuantisedCanvas(picture_)), 0);
    ExpectLogOfRun(program_->Log(), {});
}

}  // namespace
}  // namespace inkrelay::wine_road
