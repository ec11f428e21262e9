#include "scan/draw_list.h"

#include <gtest/gtest.h>

#include "code_of.h"

#include <functional>

#include "checked_int.h"
#include "runtime_error.h"

namespace inkrelay {
namespace {

using test::CodeOf;

TEST(CheckedInt, resultsOutside16BitsRaiseOverflowInsteadOfWrapping) {
    EXPECT_EQ(AddInteger(32766, 1), 32767);
    EXPECT_EQ(SubInteger(-32767, 1), -32768);
    EXPECT_EQ(CodeOf([] { AddInteger(32767, 1); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { SubInteger(-32768, 1); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { MulInteger(256, 128); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { NegInteger(-32768); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { ToInteger(40000); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { AddLong(2147483647, 1); }), ErrorCode::Overflow);
    EXPECT_EQ(MulLong(1200, 1200), 1440000);
}

TEST(EventMemory, isZeroAtStartAndRefusesCellsOutsideItsRange) {
    EventMemory mem;
    EXPECT_EQ(mem[0], 0);
    EXPECT_EQ(mem[EventMemSize - 1], 0);
    mem[EventMemSize - 1] = 7;
    EXPECT_EQ(mem[EventMemSize - 1], 7);
    EXPECT_EQ(CodeOf([&] { mem[EventMemSize] = 1; }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(CodeOf([&] { mem[-1] = 1; }), ErrorCode::SubscriptOutOfRange);
}

TEST(EventWalker, walksEveryCodeWithItsCellCountAndOperands) {
    EventMemory mem;
    const int16_t list[] = {Mk, 12, -30, 0, Gt, 5,  6,  Dt, 3,  Ln, 4,  9,  CD, 1,
                            2,  CL, 0,   1, 8,  Cr, St, 10, 11, Mv, 12, 13, Ed};
    int32_t end = 0;
    for (int16_t cell : list) mem[++end] = cell;

    std::vector<EventCode> codes;
    std::vector<int32_t> positions;
    EventWalker walker(mem, end);
    for (; !walker.AtEnd(); walker.Next()) {
        codes.push_back(walker.Current().Code);
        positions.push_back(walker.Current().Position);
        if (walker.Current().Code == Mk) {
            EXPECT_EQ(walker.Operand(0), 12);
            EXPECT_EQ(walker.Operand(1), -30);
            EXPECT_EQ(walker.Operand(2), 0);
        }
        if (walker.Current().Code == CL) {
            EXPECT_EQ(walker.Operand(2), 8);
        }
    }
    EXPECT_EQ(codes, (std::vector<EventCode>{Mk, Gt, Dt, Ln, CD, CL, Cr, St, Mv, Ed}));
    EXPECT_EQ(positions, (std::vector<int32_t>{1, 5, 8, 10, 13, 16, 20, 21, 24, 27}));
}

TEST(EventWalker, emptyListEndsAtOnceAndDamagedListsAreRefused) {
    EventMemory mem;
    EXPECT_TRUE(EventWalker(mem, 0).AtEnd());

    mem[1] = 10;  // no such code
    EXPECT_EQ(CodeOf([&] { EventWalker(mem, 1).Current(); }), ErrorCode::InvalidArgument);

    mem[1] = Mk;  // four cells, but the list ends after two
    mem[2] = 3;
    EXPECT_EQ(CodeOf([&] { EventWalker(mem, 2).Next(); }), ErrorCode::InvalidArgument);

    mem[1] = Dt;
    EventWalker walker(mem, 2);
    EXPECT_EQ(CodeOf([&] { walker.Operand(1); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(CodeOf([&] { EventWalker(mem, EventMemSize); }), ErrorCode::SubscriptOutOfRange);
}

TEST(EventMemFreePercent, roundsDownTheFreeShare) {
    EXPECT_EQ(EventMemFreePercent(0), 100);
    EXPECT_EQ(EventMemFreePercent(1), 99);  // 99.99995 rounds down
    EXPECT_EQ(EventMemFreePercent(EventMemSize / 2), 50);
    EXPECT_EQ(EventMemFreePercent(1941217), 0);
    EXPECT_EQ(EventMemFreePercent(19412), 99);  // 99.0000...3
    EXPECT_EQ(EventMemFreePercent(19413), 98);
}

}  // namespace
}  // namespace inkrelay
