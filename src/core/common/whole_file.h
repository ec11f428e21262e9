#pragma once
// A whole file read into memory, with the operating system's failure in the runtime's code.

#include <cstdint>
#include <string>

namespace inkrelay {

struct WholeFile {
    std::string Bytes;    // what was read, also before a failure part way
    bool Opened = false;  // false: nothing could be read at all
    int32_t Error = 0;    // the runtime's code of the failure, 0 when the whole file was read
};

WholeFile ReadWholeFile(const std::string& path);

}  // namespace inkrelay
