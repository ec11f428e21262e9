#pragma once
// A C stream closed with its owner, on every path.

#include <cstdio>
#include <memory>

namespace inkrelay {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace inkrelay
