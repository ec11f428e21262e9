#pragma once
// What a scanner hands back: whether the list is complete and where it ends.

#include <cstdint>

namespace inkrelay {

enum class ScanOutcome {
    Completed,
    StoppedByCapacity  // the list is unusable; the caller keeps its earlier EventMemEnd
};

struct ScanResult {
    ScanOutcome Outcome = ScanOutcome::Completed;
    int32_t NextCell = 1;  // the next free cell when the scan ended

    bool Completed() const { return Outcome == ScanOutcome::Completed; }
    // The EventMemEnd a completed scan sets.
    int32_t EventMemEnd() const { return NextCell - 1; }
};

}  // namespace inkrelay
