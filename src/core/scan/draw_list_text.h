#pragma once
// The draw list as text: one event a line, and a one-line count of events by code.

#include <array>
#include <cstdint>
#include <string>

#include "scan/draw_list.h"

namespace inkrelay {

using EventCounts = std::array<int32_t, EventCodeCount>;

EventCounts CountEvents(const EventMemory& mem, int32_t end);

// "events=N cells=END Mk=… Gt=… … Ed=…".
std::string EventSummaryLine(const EventCounts& counts, int32_t end);

// Each event's name, then its operands as stored (negated levels stay negative): "Mk 12 -30 0".
std::string DumpEvents(const EventMemory& mem, int32_t end);

}  // namespace inkrelay
