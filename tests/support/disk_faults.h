#pragma once
// Disk steps of ReplaceFileContents that fail as a full disk or a killed process does.

#include <cerrno>
#include <string>

#include "replace_file.h"

namespace inkrelay::test {

// What a step throws to stop a save where a kill would.
struct Killed {};

// Half of the bytes reach the temporary file before the disk is full.
inline ReplaceSteps FullDiskWhileWriting() {
    ReplaceSteps steps;
    steps.Write = [](std::FILE* file, std::string_view bytes) {
        const int written = RealReplaceSteps().Write(file, bytes.substr(0, bytes.size() / 2));
        return written != 0 ? written : ENOSPC;
    };
    return steps;
}

// The buffered bytes find the disk full when they are flushed.
inline ReplaceSteps FullDiskWhileFlushing() {
    ReplaceSteps steps;
    steps.Flush = [](std::FILE*) { return ENOSPC; };
    return steps;
}

inline ReplaceSteps RenameFailingWith(int error) {
    ReplaceSteps steps;
    steps.Rename = [error](const std::string&, const std::string&) { return error; };
    return steps;
}

// Everything is written and flushed; the process dies before the rename.
inline ReplaceSteps KilledBeforeRename() {
    ReplaceSteps steps;
    steps.Rename = [](const std::string&, const std::string&) -> int { throw Killed{}; };
    return steps;
}

}  // namespace inkrelay::test
