// inkrelay-scan run as a program: its summary line, files and exit codes.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include "temp_dir.h"

namespace inkrelay::test {
namespace {

struct Outcome {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

Outcome RunScanTool(const QStringList& args) {
    QProcess process;
    process.start(INKRELAY_SCAN_PROGRAM, args);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

QString Path(const TempDir& folder, const char* name) {
    return QString::fromStdString((folder / name).string());
}

TEST(ScanTool, readsAPictureIntoAListAndWritesItsDumpAndRendering) {
    TempDir folder;
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(3, 1, qRgb(0, 0, 255));
    ASSERT_TRUE(image.save(Path(folder, "in.bmp"), "BMP"));

    const Outcome run = RunScanTool({"--dump", Path(folder, "list.txt"), "--render",
                                     Path(folder, "out.png"), Path(folder, "in.bmp")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "events=6 cells=15 Mk=2 Gt=0 Dt=1 Ln=1 CD=0 CL=0 Cr=2 St=0 Mv=0 Ed=0\n");
    EXPECT_EQ(ReadFile(folder / "list.txt"), "Mk 51 0 0\nLn 0 1\nCr\nMk 0 0 51\nDt 3\nCr\n");
    const QImage rendered(Path(folder, "out.png"));
    ASSERT_EQ(rendered.size(), QSize(4, 2));
    EXPECT_EQ(rendered.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(rendered.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(rendered.pixel(3, 1), qRgb(0, 0, 255));
}

TEST(ScanTool, faultsGoToStandardErrorWithExitTwoAndAFullListWithExitOne) {
    TempDir folder;
    Outcome run = RunScanTool({Path(folder, "missing.png")});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "ファイルが見つかりません。(53)\n");

    QImage wide(1201, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    ASSERT_TRUE(wide.save(Path(folder, "wide.bmp"), "BMP"));
    run = RunScanTool({Path(folder, "wide.bmp")});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err,
              "読み取り範囲が広すぎます。\n読み取り範囲は、縦幅・横幅ともに1200ピクセル以内で指定し"
              "てください。\n");

    run = RunScanTool({"--quality", "9", Path(folder, "wide.bmp")});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("usage: inkrelay-scan"), std::string::npos);

    // Alternating colours need five cells a pixel: far more than the list holds.
    QImage busy(1200, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 1200; ++x)
            busy.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    }
    ASSERT_TRUE(busy.save(Path(folder, "busy.bmp"), "BMP"));
    run = RunScanTool({Path(folder, "busy.bmp")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "読み取り範囲に含まれる色が多すぎます。\n");
    EXPECT_TRUE(run.Out.empty());
}

}  // namespace
}  // namespace inkrelay::test
