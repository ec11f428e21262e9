#include "scan/draw_list_text.h"

namespace inkrelay {

EventCounts CountEvents(const EventMemory& mem, int32_t end) {
    EventCounts counts{};
    for (EventWalker walker(mem, end); !walker.AtEnd(); walker.Next())
        ++counts[walker.Current().Code];
    return counts;
}

std::string EventSummaryLine(const EventCounts& counts, int32_t end) {
    int64_t events = 0;
    for (int32_t count : counts) events += count;
    std::string line = "events=" + std::to_string(events) + " cells=" + std::to_string(end);
    for (int16_t code = 0; code < EventCodeCount; ++code)
        line += " " + std::string(EventNames[code]) + "=" + std::to_string(counts[code]);
    return line;
}

std::string DumpEvents(const EventMemory& mem, int32_t end) {
    std::string text;
    for (EventWalker walker(mem, end); !walker.AtEnd(); walker.Next()) {
        const EventView event = walker.Current();
        text += EventNames[event.Code];
        for (int32_t i = 0; i < EventCells[event.Code] - 1; ++i)
            text += " " + std::to_string(walker.Operand(i));
        text += '\n';
    }
    return text;
}

}  // namespace inkrelay
