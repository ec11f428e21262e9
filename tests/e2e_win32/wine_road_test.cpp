// The Windows program's whole road under wine, driven from outside with X input as a user drives
// it: open a picture through the open dialog, select it all, read it, take both positions with
// clicks on practice-applet.exe, draw with the check on, and compare the applet's canvas on the
// screen, and in its dump, with what the Linux road expects; the settings file after exit.

// road_fixture.h's own fixture starts the Linux programs by these names; this program takes
// only its pictures and expectations from it, and finds its programs at run time.
#define INKRELAY_PROGRAM ""
#define INKRELAY_README ""
#define INKRELAY_PRACTICE_APPLET ""
#include "wine_road.h"
#include "../e2e/road/road_fixture.h"

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

    // With INKRELAY_ROAD_SHOTS set to a folder, a failed test leaves its screen there.
    void TearDown() override {
        const char* shots = std::getenv("INKRELAY_ROAD_SHOTS");
        if (session != nullptr && shots != nullptr && HasFailure()) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            std::string name = std::string(test->test_suite_name()) + "." + test->name();
            std::replace(name.begin(), name.end(), '/', '_');
            XDriver& x = session->X();
            const road::ScreenImage screen = x.Grab({0, 0, x.ScreenWidth(), x.ScreenHeight()});
            WritePng(Picture(screen.Width, screen.Height, screen.Pixels),
                     std::filesystem::path(shots) / (name + ".png"));
        }
        // Neither program outlives its test: the next one's windows would share their names.
        if (program_ && program_->Process().Running())
            program_->Process().Terminate(std::chrono::seconds(10));
        if (applet_ && applet_->Process().Running())
            applet_->Process().Terminate(std::chrono::seconds(10));
    }

    XDriver& X() { return session->X(); }
    std::filesystem::path DumpPath() const { return folder_ / "canvas.png"; }

    // The applet with a canvas the picture's size at the top left, then inkrelay.exe beside it.
    void Start(const Picture& picture, const InkrelaySettings& settings,
               std::vector<std::string> appletArgs = {}) {
        picture_ = picture;
        appletArgs.insert(appletArgs.end(),
                          {"--applet", std::to_string(settings.Applet), "--canvas",
                           std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()),
                           "--dump", WindowsPath(DumpPath())});
        applet_ = std::make_unique<WineApplet>(*session, appletArgs, folder_.Path());
        program_ = std::make_unique<WineInkrelay>(*session, folder_ / "program", settings);
        const TopLevel& main = program_->MainWindow();
        program_->PlaceMainWindow(
            {X().ScreenWidth() - main.Frame.Width - 8, X().ScreenHeight() - main.Frame.Height - 8});
        program_->SetImageWindowPlace({8, X().ScreenHeight() - 330});
    }

    void ReadyToDraw() {
        const std::filesystem::path file = folder_ / "picture.png";
        WritePng(picture_, file);
        program_->OpenPicture(file);
        program_->SelectAll();
        program_->Read();
        program_->CaptureDrawPos(applet_->Canvas());
        program_->CaptureBarPos(applet_->Bars());
    }

    road::Rect CanvasOnScreen() const {
        const Point at = applet_->Canvas();
        return {at.X, at.Y, picture_.Width(), picture_.Height()};
    }

    // Pixels that differ from expected, the first few reported unless quiet.
    int32_t Differences(const std::vector<uint32_t>& pixels, int32_t width,
                        const std::vector<uint32_t>& expected, const std::string& where,
                        bool quiet) {
        int32_t wrong = 0;
        for (size_t i = 0; i < expected.size() && i < pixels.size(); ++i) {
            if (pixels[i] != expected[i] && ++wrong <= 5 && !quiet)
                ADD_FAILURE() << where << " (" << static_cast<int32_t>(i) % width << ","
                              << static_cast<int32_t>(i) / width << ") is " << std::hex << pixels[i]
                              << ", not " << expected[i];
        }
        return wrong;
    }

    // The canvas as the screen shows it, then the applet closed and its dump: the mismatches of
    // the screen; the dump must agree with the screen.
    int32_t Mismatches(const std::vector<uint32_t>& expected, bool quiet = false) {
        const road::ScreenImage screen = X().Grab(CanvasOnScreen());
        const int32_t wrong =
            Differences(screen.Pixels, screen.Width, expected, "the canvas on the screen", quiet);
        EXPECT_EQ(applet_->Close(), 0) << applet_->Process().Errors();
        const Picture dump = LoadPngPicture(DumpPath().string());
        EXPECT_EQ(dump.Width(), picture_.Width());
        EXPECT_EQ(dump.Height(), picture_.Height());
        std::vector<uint32_t> dumped;
        for (int32_t y = 0; y < dump.Height(); ++y)
            for (int32_t x = 0; x < dump.Width(); ++x) dumped.push_back(dump.PixelAt(x, y));
        EXPECT_EQ(Differences(dumped, dump.Width(), screen.Pixels, "the dumped canvas", false), 0);
        return wrong;
    }

    void ExpectLogOfRun(const std::string& log, const InkrelaySettings& settings) {
        const auto value = [&](const std::string& key) { return road::LogHeaderValue(log, key); };
        EXPECT_TRUE(log.starts_with("[Ver.2.10]  Mode:" + std::to_string(settings.Mode) +
                                    "  Applet:" + std::to_string(settings.Applet) +
                                    "  Speed:" + std::to_string(settings.Speed)))
            << log;
        EXPECT_EQ(value("ScanWidth"), picture_.Width());
        EXPECT_EQ(value("ScanHeight"), picture_.Height());
        EXPECT_GT(value("EventMemEnd").value_or(0), 0);
        EXPECT_EQ(CountLines(log, "]  Drawing started.\r\n"), 1) << log;
        EXPECT_EQ(CountLines(log, "]  Drawing finished or canceled.\r\n"), 1) << log;
    }

    // A whole run to its completion box; the canvas against expected and the log's header.
    void DrawToCompletion(const InkrelaySettings& settings, const std::vector<uint32_t>& expected) {
        ReadyToDraw();
        program_->StartDrawing();
        const MessageBox done = program_->WaitForBox(RunTimeout);
        EXPECT_EQ(done.Icon, BoxIcon::Information);
        program_->Accept(done);
        EXPECT_EQ(Mismatches(expected), 0) << program_->Log();
        ExpectLogOfRun(program_->Log(), settings);
    }

    test::TempDir folder_;
    Picture picture_;
    std::unique_ptr<WineApplet> applet_;
    std::unique_ptr<WineInkrelay> program_;
};

TEST_F(WineRoadTest, AFullColourPictureOnPaintBBSIsDrawnPixelForPixel) {
    InkrelaySettings settings;
    settings.Applet = 1;
    Start(ColourPicture(24), settings);
    DrawToCompletion(settings, QuantisedCanvas(picture_));
    // The settings it was started with are written back as the Linux program writes them.
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
    program_ = std::make_unique<WineInkrelay>(*session, folder_ / "program", std::nullopt);
    EXPECT_EQ(program_->Exit(), 0);
    EXPECT_EQ(program_->Ini(), InkrelaySettings{}.Text());
}

}  // namespace
}  // namespace inkrelay::wine_road
