#pragma once
// The runtime error code a body raises, or 0 when it returns normally.

#include <cstdint>
#include <functional>

#include "runtime_error.h"

namespace inkrelay::test {

inline int32_t CodeOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const RuntimeError& e) {
        return e.Code();
    }
    return 0;
}

}  // namespace inkrelay::test
