#pragma once
// Replacing a file's contents so that a full disk, a failure or a killed process part way never
// leaves the user without the old file.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace inkrelay {

// Writes bytes to a temporary file beside path (its name + ".tmp", overwriting a leftover of a
// save that was killed), flushes it to the disk, closes it and only then renames it over path.
// A link keeps pointing where it did: the file it names is the one replaced, or made when it is
// missing. Returns 0, or the runtime's code of the first failure, after which path is exactly as
// it was and the temporary file is gone. A read-only target is refused untouched (70), as
// writing into it was; on POSIX so is anything but a plain file (75: a folder, a device, a
// pipe), and the new file gets the old one's permission bits.
int32_t ReplaceFileContents(const std::string& path, std::string_view bytes);

// The disk steps of a replacement, each returning 0 or the errno value of its failure.
struct ReplaceSteps {
    // All of bytes into the open temporary file.
    std::function<int(std::FILE* file, std::string_view bytes)> Write;
    // The file's buffers through to the disk.
    std::function<int(std::FILE* file)> Flush;
    // The closed temporary file over the target in one step.
    std::function<int(const std::string& from, const std::string& to)> Rename;
};

ReplaceSteps RealReplaceSteps();

// Swaps in other disk steps for its lifetime, so that a test can fill the disk or stop the save
// as a kill would; the steps left empty stay the real ones. A step that throws leaves the
// temporary file where it is, as a killed process leaves it.
class ScopedReplaceSteps {
  public:
    explicit ScopedReplaceSteps(ReplaceSteps steps);
    ~ScopedReplaceSteps();
    ScopedReplaceSteps(const ScopedReplaceSteps&) = delete;
    ScopedReplaceSteps& operator=(const ScopedReplaceSteps&) = delete;

  private:
    ReplaceSteps previous_;
};

}  // namespace inkrelay
