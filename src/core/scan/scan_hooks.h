#pragma once
// The scanners' view of the window: the progress bar and the yield to the message loop. Any
// hook left empty is skipped.

#include <cstdint>
#include <functional>

namespace inkrelay {

struct ScanHooks {
    std::function<void(int32_t maximum)> OnProgressMaximum;
    std::function<void(int32_t value)> OnProgress;
    std::function<void()> Yield;

    void SetMaximum(int32_t maximum) const {
        if (OnProgressMaximum)
            OnProgressMaximum(maximum);
    }
    void SetProgress(int32_t value) const {
        if (OnProgress)
            OnProgress(value);
    }
    void YieldOnce() const {
        if (Yield)
            Yield();
    }
};

}  // namespace inkrelay
