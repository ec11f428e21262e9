// The log's number formats and its file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "app/draw_commands.h"
#include "app/lifecycle.h"
#include "disk_faults.h"
#include "draw/drawing_log.h"
#include "runtime_error.h"
#include "test_program.h"

namespace inkrelay {
namespace {

TEST(DrawingLog, padsNumbersAfterTheirSign) {
    EXPECT_EQ(PadNumber(5, 4), "0005");
    EXPECT_EQ(PadNumber(-5, 4), "-0005");
    EXPECT_EQ(PadNumber(4711, 7), "0004711");
    EXPECT_EQ(PadNumber(123456, 4), "123456");
    EXPECT_EQ(PadNumber(0, 2), "00");
}

TEST(DrawingLog, writesTheFilledSlotsInSlotOrderWithCrLf) {
    test::TempDir folder;
    const std::string path = (folder / "Inkrelay.log").string();
    test::WriteFile(path, "an older log that is longer than the new one");
    DrawLogLines lines;
    lines[0] = "header";
    lines[1] = "start";
    lines[5] = "finish";
    EXPECT_EQ(WriteDrawingLog(path, lines), 0);
    EXPECT_EQ(test::ReadFile(path), "header\r\nstart\r\nfinish\r\n");
}

TEST(DrawingLog, reportsAFileThatCannotBeOpened) {
    test::TempDir folder;
    EXPECT_EQ(WriteDrawingLog((folder / "missing" / "Inkrelay.log").string(), {}),
              ErrorCode::PathNotFound);
}

TEST(DrawingLog, aFailedReplacementKeepsTheOldLogAndSaysWhy) {
    test::TempDir folder;
    const std::string path = (folder / "Inkrelay.log").string();
    const std::string old = "the log of the run before\r\n";
    DrawLogLines lines;
    lines[0] = "header";
    const struct {
        ReplaceSteps Steps;
        int32_t Code;
    } failures[] = {
        {test::FullDiskWhileWriting(), ErrorCode::DiskFull},
        {test::FullDiskWhileFlushing(), ErrorCode::DiskFull},
        {test::RenameFailingWith(EACCES), ErrorCode::PermissionDenied},
        {test::RenameFailingWith(EXDEV), ErrorCode::PathFileAccessError},
    };
    for (const auto& failure : failures) {
        test::WriteFile(path, old);
        const ScopedReplaceSteps disk(failure.Steps);
        EXPECT_EQ(WriteDrawingLog(path, lines), failure.Code);
        EXPECT_EQ(test::ReadFile(path), old);
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    }
}

TEST(DrawingLog, aFullDiskAtTheEndOfARunIsReportedOnce) {
    test::TestProgram p;
    StartUp(p.Run);
    AppState& s = *p.State;
    s.Check = false;
    s.DrawPosSet = s.RGBBarPosSet = s.ScanReady = true;
    const int16_t list[] = {Mk, 1, 2, 3, Dt, 4};
    for (int k = 0; k < 6; ++k) s.EventMem[k + 1] = list[k];
    s.EventMemEnd = 6;
    test::WriteFile(p.Folder / "Inkrelay.log", "the log of the run before\r\n");
    p.Ui.Answers = {MessageAnswer::Yes};
    const ScopedReplaceSteps disk(test::FullDiskWhileWriting());
    Command6_Click(p.Run);
    const std::vector<std::string> texts = p.Ui.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "ディスクの空き容量が不足しています。(61)"),
              1);
    EXPECT_EQ(test::ReadFile(p.Folder / "Inkrelay.log"), "the log of the run before\r\n");
}

}  // namespace
}  // namespace inkrelay
