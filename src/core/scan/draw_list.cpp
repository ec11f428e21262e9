#include "scan/draw_list.h"

#include <cmath>

#include "runtime_error.h"

namespace inkrelay {

EventMemory::EventMemory() : cells_(new int16_t[EventMemSize]()) {}

int16_t& EventMemory::operator[](int32_t index) {
    if (index < 0 || index >= EventMemSize) [[unlikely]]
        throw RuntimeError(ErrorCode::SubscriptOutOfRange);
    return cells_[index];
}

int16_t EventMemory::operator[](int32_t index) const {
    if (index < 0 || index >= EventMemSize) [[unlikely]]
        throw RuntimeError(ErrorCode::SubscriptOutOfRange);
    return cells_[index];
}

EventWalker::EventWalker(const EventMemory& mem, int32_t end) : mem_(mem), end_(end) {
    if (end < 0 || end >= EventMemSize)
        throw RuntimeError(ErrorCode::SubscriptOutOfRange);
}

bool EventWalker::Intact() const {
    const int16_t code = mem_[position_];
    return code >= 0 && code < EventCodeCount && position_ + EventCells[code] - 1 <= end_;
}

EventView EventWalker::Current() const {
    const int16_t code = mem_[position_];
    if (code < 0 || code >= EventCodeCount)
        throw RuntimeError(ErrorCode::InvalidArgument);
    if (position_ + EventCells[code] - 1 > end_)
        throw RuntimeError(ErrorCode::InvalidArgument);
    return {position_, static_cast<EventCode>(code)};
}

int16_t EventWalker::Operand(int32_t i) const {
    const EventView event = Current();
    if (i < 0 || i >= EventCells[event.Code] - 1)
        throw RuntimeError(ErrorCode::SubscriptOutOfRange);
    return mem_[position_ + 1 + i];
}

void EventWalker::Next() {
    position_ += EventCells[Current().Code];
}

int32_t EventMemFreePercent(int32_t eventMemEnd) {
    const double used = static_cast<double>(eventMemEnd) / EventMemSize * 100.0;
    return static_cast<int32_t>(std::floor(100.0 - used));
}

}  // namespace inkrelay
