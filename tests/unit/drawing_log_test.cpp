// The log's number formats and its file.

#include <gtest/gtest.h>

#include "draw/drawing_log.h"
#include "runtime_error.h"
#include "temp_dir.h"

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

}  // namespace
}  // namespace inkrelay
