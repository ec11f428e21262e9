#pragma once

#include <new>

#include "runtime_error.h"

namespace inkrelay {

template <typename Body>
void RunHandler(Program& program, Body&& body) {
    int32_t code = 0;
    try {
        body();
    } catch (const RuntimeError& error) {
        code = error.Code();
    } catch (const std::bad_alloc&) {
        code = ErrorCode::OutOfMemory;
    }
    if (code != 0)
        ReportError(program, code);
}

}  // namespace inkrelay
