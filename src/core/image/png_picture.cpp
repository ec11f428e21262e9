#include "image/png_picture.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <utility>

#include "file_errors.h"
#include "image/bitmap_info.h"
#include "image/dib_picture.h"
#include "image/png_library.h"
#include "runtime_error.h"

namespace inkrelay {

namespace {

// The library only says yes or no, so file errors are told apart before it is called.
void CheckReadable(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw RuntimeError(ErrorCode::FileNotFound);
    if (error)
        throw RuntimeError(RuntimeCodeFor(error, FileAccess::Read));
    if (std::filesystem::is_directory(status))
        throw RuntimeError(ErrorCode::PathFileAccessError);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw RuntimeError(RuntimeCodeForErrno(errno, FileAccess::Read));
    std::fclose(file);
}

// mEndPNG on every way out once mLoadPNG has succeeded, and never after it failed.
struct PngHandle {
    ~PngHandle() {
        if (Open)
            mEndPNG(&Value);
    }
    int32_t Value = 0;
    bool Open = false;
};

}  // namespace

bool TakesPngPath(std::string_view fileName) {
    return fileName.ends_with("png") || fileName.ends_with("PNG");
}

Picture LoadPngPicture(const std::string& path) {
    CheckReadable(path);
    BitmapInfo info{};
    int32_t size = 0;
    PngHandle handle;
    if (mLoadPNG(path.c_str(), &handle.Value, &info, &size) != 1)
        throw RuntimeError(ErrorCode::InvalidPicture);
    handle.Open = true;
    if (size <= 0)
        throw RuntimeError(ErrorCode::InvalidPicture);
    std::unique_ptr<uint8_t[]> bits;
    try {
        bits = std::make_unique_for_overwrite<uint8_t[]>(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        throw RuntimeError(ErrorCode::OutOfMemory);
    }
    const int32_t filled = mGetPNGData(&handle.Value, bits.get());
    handle.Open = false;
    mEndPNG(&handle.Value);
    if (filled != 1)
        throw RuntimeError(ErrorCode::InvalidPicture);
    std::optional<Picture> picture =
        PictureFromDib(bits.get(), static_cast<std::size_t>(size), info);
    if (!picture)
        throw RuntimeError(ErrorCode::InvalidPicture);
    return std::move(*picture);
}

}  // namespace inkrelay
