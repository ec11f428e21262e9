#include "image/png_library.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace inkrelay {

namespace {

std::mutex TableMutex;
std::array<std::unique_ptr<PngDecoder>, PngOpenLimit> OpenDecodes;

int32_t Open(std::unique_ptr<PngDecoder> decoder, int32_t* handle, void* info, int32_t* size) {
    BitmapInfo described{};
    int32_t bitsSize = 0;
    if (!decoder->ReadHeader(described, bitsSize))
        return 0;
    const std::lock_guard<std::mutex> lock(TableMutex);
    for (int32_t slot = 0; slot < PngOpenLimit; ++slot) {
        if (OpenDecodes[slot] == nullptr) {
            OpenDecodes[slot] = std::move(decoder);
            std::memcpy(info, &described, sizeof described);
            *size = bitsSize;
            *handle = slot + 1;
            return 1;
        }
    }
    return 0;
}

int32_t LoadPng(const char* path, int32_t* handle, void* info, int32_t* size) {
    if (path == nullptr || handle == nullptr || info == nullptr || size == nullptr)
        return 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return 0;
    std::unique_ptr<PngDecoder> decoder;
    try {
        decoder = PngDecoder::FromFile(file, PngByteLimit);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    return Open(std::move(decoder), handle, info, size);
}

int32_t GetPngData(const int32_t* handle, uint8_t* bits) {
    if (handle == nullptr || *handle < 1 || *handle > PngOpenLimit)
        return 0;
    const std::lock_guard<std::mutex> lock(TableMutex);
    const auto& decoder = OpenDecodes[*handle - 1];
    return decoder != nullptr && decoder->ReadPixels(bits) ? 1 : 0;
}

int32_t EndPng(int32_t* handle) {
    if (handle == nullptr || *handle < 1 || *handle > PngOpenLimit)
        return 0;
    std::unique_ptr<PngDecoder> released;
    {
        const std::lock_guard<std::mutex> lock(TableMutex);
        released = std::move(OpenDecodes[*handle - 1]);
    }
    *handle = 0;
    return released != nullptr ? 1 : 0;
}

}  // namespace

int32_t DecodePngMemory(const uint8_t* data, std::size_t length, int32_t* handle, void* info,
                        int32_t* size, std::size_t byteLimit) noexcept {
    if ((data == nullptr && length != 0) || handle == nullptr || info == nullptr || size == nullptr)
        return 0;
    try {
        std::vector<uint8_t> bytes(data, data + length);
        return Open(PngDecoder::FromMemory(std::move(bytes), byteLimit), handle, info, size);
    } catch (...) {
        return 0;
    }
}

}  // namespace inkrelay

// No exception may cross the C boundary.
extern "C" int32_t mLoadPNG(const char* path, int32_t* handle, void* info, int32_t* size) noexcept {
    try {
        return inkrelay::LoadPng(path, handle, info, size);
    } catch (...) {
        return 0;
    }
}

extern "C" int32_t mGetPNGData(int32_t* handle, uint8_t* bits) noexcept {
    try {
        return inkrelay::GetPngData(handle, bits);
    } catch (...) {
        return 0;
    }
}

extern "C" int32_t mEndPNG(int32_t* handle) noexcept {
    try {
        return inkrelay::EndPng(handle);
    } catch (...) {
        return 0;
    }
}
