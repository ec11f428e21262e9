#pragma once
// 16-bit Integer and 32-bit Long arithmetic that raises overflow (6) instead of wrapping.

#include <cstdint>
#include <limits>

#include "runtime_error.h"

namespace inkrelay {

constexpr int16_t ToInteger(int64_t value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw RuntimeError(ErrorCode::Overflow);
    return static_cast<int16_t>(value);
}

constexpr int32_t ToLong(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw RuntimeError(ErrorCode::Overflow);
    return static_cast<int32_t>(value);
}

constexpr int16_t AddInteger(int16_t a, int16_t b) {
    return ToInteger(int64_t{a} + b);
}
constexpr int16_t SubInteger(int16_t a, int16_t b) {
    return ToInteger(int64_t{a} - b);
}
constexpr int16_t MulInteger(int16_t a, int16_t b) {
    return ToInteger(int64_t{a} * b);
}
constexpr int16_t NegInteger(int16_t a) {
    return ToInteger(-int64_t{a});
}

constexpr int32_t AddLong(int32_t a, int32_t b) {
    return ToLong(int64_t{a} + b);
}
constexpr int32_t SubLong(int32_t a, int32_t b) {
    return ToLong(int64_t{a} - b);
}
constexpr int32_t MulLong(int32_t a, int32_t b) {
    return ToLong(int64_t{a} * b);
}

}  // namespace inkrelay
