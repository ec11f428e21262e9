// The command-line reader's arguments and the draw list as text.

#include <gtest/gtest.h>

#include "scan/draw_list_text.h"
#include "scan_arguments.h"

namespace inkrelay {
namespace {

using tools::ParseScanArguments;

TEST(ScanArguments, defaultsAndEveryOption) {
    std::string error;
    auto args = ParseScanArguments({"a.png"}, error);
    ASSERT_TRUE(args);
    EXPECT_EQ(args->Method, ReadMethod::Inkjet);
    EXPECT_EQ(args->Quality, 0);
    EXPECT_FALSE(args->Range);
    EXPECT_EQ(args->LineColour, 0u);

    args = ParseScanArguments(
        {"--method", "lineart", "--quality", "2", "--range", "1,2,30,40", "--line-colour",
         "18,52,86", "--dump", "d.txt", "--render", "r.png", "b.bmp"},
        error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->Method, ReadMethod::LineArt);
    EXPECT_EQ(args->Quality, 2);
    EXPECT_EQ(args->Range->Right, 30);
    EXPECT_EQ(args->Range->Bottom, 40);
    EXPECT_EQ(args->LineColour, 18u + 52u * 256u + 86u * 65536u);
    EXPECT_EQ(args->DumpFile, "d.txt");
    EXPECT_EQ(args->RenderFile, "r.png");
    EXPECT_EQ(args->Picture, "b.bmp");
    EXPECT_EQ(ParseScanArguments({"--method", "prime", "p.gif"}, error)->Method,
              ReadMethod::ColorPrime);
}

TEST(ScanArguments, badArgumentsAreRefusedWithAReason) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"--quality", "3", "a.png"},
                                               {"--quality", "1x", "a.png"},
                                               {"--range", "1,2,3", "a.png"},
                                               {"--range", "5,0,4,9", "a.png"},
                                               {"--range", "0,0,9,9,", "a.png"},
                                               {"--line-colour", "0,0,256", "a.png"},
                                               {"--method", "fast", "a.png"},
                                               {"--dump"},
                                               {"--verbose", "a.png"},
                                               {"a.png", "b.png"}}) {
        std::string error;
        EXPECT_FALSE(ParseScanArguments(bad, error)) << testing::PrintToString(bad);
        EXPECT_FALSE(error.empty());
    }
}

TEST(DrawListText, dumpsOperandsAsStoredAndCountsByCode) {
    EventMemory mem;
    const int16_t list[] = {Mk, 12, -30, 0, Dt, 5, Cr, Gt, 1, 2, St, 3, 4, Mv, 5, 6, Ed};
    int32_t end = 0;
    for (int16_t cell : list) mem[++end] = cell;
    EXPECT_EQ(DumpEvents(mem, end), "Mk 12 -30 0\nDt 5\nCr\nGt 1 2\nSt 3 4\nMv 5 6\nEd\n");
    EXPECT_EQ(EventSummaryLine(CountEvents(mem, end), end),
              "events=7 cells=17 Mk=1 Gt=1 Dt=1 Ln=0 CD=0 CL=0 Cr=1 St=1 Mv=1 Ed=1");
}

}  // namespace
}  // namespace inkrelay
