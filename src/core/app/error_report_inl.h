#pragma once

#include <new>
#include <utility>

#include "runtime_error.h"

namespace inkrelay {

template <typename Body>
int32_t TrapFailure(Body&& body) {
    try {
        body();
    } catch (const RuntimeError& error) {
        return error.Code();
    } catch (const std::bad_alloc&) {
        return ErrorCode::OutOfMemory;
    }
    return 0;
}

template <typename Body>
void RunHandler(Program& program, Body&& body) {
    if (const int32_t code = TrapFailure(std::forward<Body>(body)))
        ReportError(program, code);
}

}  // namespace inkrelay
