#include "replace_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "file_errors.h"
#include "file_handle.h"
#include "replace_file_platform.h"
#include "utf8_files.h"

namespace inkrelay {

namespace {

int WriteAll(std::FILE* file, std::string_view bytes) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        return replace_detail::LastErrno();
    return 0;
}

ReplaceSteps& CurrentSteps() {
    static ReplaceSteps steps = RealReplaceSteps();
    return steps;
}

// Renaming over a link would put a plain file in its place and leave what it names old.
std::string ReplacedFile(const std::string& path) {
    std::filesystem::path file = PathFromUtf8(path);
    std::error_code error;
    // As many links as the system follows itself; a longer chain is refused when opened.
    for (int hop = 0; hop < 40 && std::filesystem::is_symlink(file, error); ++hop) {
        const std::filesystem::path named = std::filesystem::read_symlink(file, error);
        if (error)
            break;
        file = named.is_absolute() ? named : file.parent_path() / named;
    }
    return Utf8FromPath(file);
}

}  // namespace

ReplaceSteps RealReplaceSteps() {
    return {WriteAll, replace_detail::FlushToDisk, replace_detail::RenameOver};
}

ScopedReplaceSteps::ScopedReplaceSteps(ReplaceSteps steps) : previous_(CurrentSteps()) {
    ReplaceSteps& current = CurrentSteps();
    if (steps.Write)
        current.Write = std::move(steps.Write);
    if (steps.Flush)
        current.Flush = std::move(steps.Flush);
    if (steps.Rename)
        current.Rename = std::move(steps.Rename);
}

ScopedReplaceSteps::~ScopedReplaceSteps() {
    CurrentSteps() = std::move(previous_);
}

int32_t ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::string target = ReplacedFile(path);
    if (const int refused = replace_detail::CheckReplaceable(target))
        return RuntimeCodeForErrno(refused, FileAccess::Write);

    const std::string temporary = target + ".tmp";
    errno = 0;
    FileHandle file = OpenFile(temporary, "wb");
    if (!file)
        return RuntimeCodeForErrno(errno, FileAccess::Write);
    const auto fail = [&](int error) {
        file.reset();  // Windows removes no open file
        // The failure that stopped the save is the one to report; a temporary file that will
        // not go is overwritten by the next save.
        static_cast<void>(RemoveFile(temporary));
        return RuntimeCodeForErrno(error, FileAccess::Write);
    };

    const ReplaceSteps& steps = CurrentSteps();
    if (const int error = replace_detail::KeepPermissions(target, file.get()))
        return fail(error);
    if (const int error = steps.Write(file.get(), bytes))
        return fail(error);
    if (const int error = steps.Flush(file.get()))
        return fail(error);
    errno = 0;
    if (std::fclose(file.release()) != 0)
        return fail(replace_detail::LastErrno());
    if (const int error = steps.Rename(temporary, target))
        return fail(error);
    return 0;
}

}  // namespace inkrelay
