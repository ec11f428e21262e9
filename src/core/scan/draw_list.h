#pragma once
// The draw list: one fixed array of 16-bit cells written by a read and replayed by drawing.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace inkrelay {

inline constexpr int32_t EventMemSize = 1941218;  // cells 0 .. 1,941,217; cell 0 is never used

enum EventCode : int16_t {
    Mk = 0,
    Gt = 1,
    Dt = 2,
    Ln = 3,
    CD = 4,
    CL = 5,
    Cr = 6,
    St = 7,
    Mv = 8,
    Ed = 9
};
inline constexpr int16_t EventCodeCount = 10;

// Cells an event takes, its code included, indexed by code.
inline constexpr std::array<int16_t, EventCodeCount> EventCells = {4, 3, 2, 3, 3, 4, 1, 3, 3, 1};
// The events' names in code order, as the drawing log labels them.
inline constexpr std::array<std::string_view, EventCodeCount> EventNames = {
    "Mk", "Gt", "Dt", "Ln", "CD", "CL", "Cr", "St", "Mv", "Ed"};

// The event memory, allocated once for the life of the program and zero at start. Access out of
// 0 .. EventMemSize - 1 raises subscript out of range (9), so no write can pass the last cell.
class EventMemory {
  public:
    EventMemory();
    EventMemory(const EventMemory&) = delete;
    EventMemory& operator=(const EventMemory&) = delete;

    int16_t& operator[](int32_t index);
    int16_t operator[](int32_t index) const;
    const int16_t* Data() const { return cells_.get(); }

  private:
    std::unique_ptr<int16_t[]> cells_;
};

struct EventView {
    int32_t Position;  // cell of the code
    EventCode Code;
};

// Walks cells 1 .. end event by event, the way the drawing engine reads them. A cell that holds
// no known code, or an event that runs past end, raises invalid argument (5).
class EventWalker {
  public:
    EventWalker(const EventMemory& mem, int32_t end);
    bool AtEnd() const { return position_ > end_; }
    EventView Current() const;
    // Operand i (0-based) of the current event.
    int16_t Operand(int32_t i) const;
    void Next();
    // Goes to the event whose code is at position, as a replay that backs up does.
    void Seek(int32_t position) { position_ = position; }
    int32_t Position() const { return position_; }
    // Whether the cell at the position holds one of the ten codes and its event ends by end;
    // Current raises invalid argument (5) where it does not.
    bool Intact() const;

  private:
    const EventMemory& mem_;
    int32_t end_;
    int32_t position_ = 1;
};

// Whole percent of the list still free: Int(100 - end / EventMemSize * 100) in double precision.
int32_t EventMemFreePercent(int32_t eventMemEnd);

}  // namespace inkrelay
