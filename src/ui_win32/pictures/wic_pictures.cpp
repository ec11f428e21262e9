#include "wic_pictures.h"
#include "win32_text.h"

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "image/on_white.h"
#include "image/packed_dib.h"
#include "image/picture_file_check.h"
#include "image/picture_limits.h"
#include "runtime_error.h"

namespace inkrelay::win32 {

using Microsoft::WRL::ComPtr;

namespace {

// The Qt loader's limit on one decoded image, so that both front ends take the same pictures.
constexpr uint64_t DecodedBytesLimit = uint64_t{128} << 20;

bool TooLarge(int64_t width, int64_t height, int64_t bytesPerPixel) {
    return PictureSideRefused(width, height) || width * height > MaxPicturePixels ||
           static_cast<uint64_t>(width * height * bytesPerPixel) > DecodedBytesLimit;
}

[[noreturn]] void Refuse(int32_t code) {
    throw RuntimeError(code);
}

// A failed WIC call is the data's fault unless memory ran out.
void Check(HRESULT result) {
    if (SUCCEEDED(result))
        return;
    Refuse(result == E_OUTOFMEMORY ? ErrorCode::OutOfMemory : ErrorCode::InvalidPicture);
}

int32_t RuntimeCodeForWin32(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ErrorCode::FileNotFound;  // ENOENT on reading
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return ErrorCode::PermissionDenied;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ErrorCode::OutOfMemory;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE: return ErrorCode::BadFileNameOrNumber;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_GEN_FAILURE: return ErrorCode::DeviceIoError;
        default: return ErrorCode::PathFileAccessError;
    }
}

// The core keeps names in UTF-8; the narrow calls would read them in the ANSI code page.
std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty())
        Refuse(ErrorCode::FileNotFound);  // as opening "" fails with ENOENT
    try {
        return win32::Wide(utf8);
    } catch (const std::runtime_error&) {
        Refuse(ErrorCode::BadFileNameOrNumber);
    }
}

using FileHandle = win32::UniqueHandle;

std::string ReadWholeFileW(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        Refuse(RuntimeCodeForWin32(GetLastError()));
    // Windows refuses to open a folder with "access denied"; the Qt build says 75 for it.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        Refuse(ErrorCode::PathFileAccessError);
    const HANDLE opened =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        Refuse(RuntimeCodeForWin32(GetLastError()));
    const FileHandle file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        Refuse(RuntimeCodeForWin32(GetLastError()));
    std::string bytes;
    // The size only reserves: a file that grows or shrinks meanwhile is read as it now is.
    bytes.reserve(static_cast<std::size_t>(std::max<LONGLONG>(size.QuadPart, 0)));
    char chunk[65536];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr))
            Refuse(RuntimeCodeForWin32(GetLastError()));
        if (got == 0)
            return bytes;
        bytes.append(chunk, got);
    }
}

uint32_t Le16(std::span<const uint8_t> b, std::size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8;
}
uint32_t Le32(std::span<const uint8_t> b, std::size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}
uint32_t Be16(std::span<const uint8_t> b, std::size_t at) {
    return uint32_t{b[at]} << 8 | b[at + 1];
}
uint32_t Be32(std::span<const uint8_t> b, std::size_t at) {
    return Be16(b, at) << 16 | Be16(b, at + 2);
}

struct Sides {
    int64_t Width;
    int64_t Height;
};

// The sides a picture's header states, read before any decoder sizes its buffers by them; empty
// for a format not known here or a header too short to say.
std::optional<Sides> HeaderSides(std::span<const uint8_t> b) {
    const auto starts = [&](std::string_view magic) {
        return b.size() >= magic.size() && std::memcmp(b.data(), magic.data(), magic.size()) == 0;
    };
    if (starts("\x89PNG\r\n\x1A\n") && b.size() >= 24)
        return Sides{Be32(b, 16), Be32(b, 20)};
    if (starts("GIF") && b.size() >= 10)
        return Sides{Le16(b, 6), Le16(b, 8)};  // the logical screen, every frame's canvas
    if (starts("BM") && b.size() >= 26) {
        const uint32_t header = Le32(b, 14);
        if (header == 12)
            return Sides{Le16(b, 18), Le16(b, 20)};
        if (header >= 40)
            return Sides{std::llabs(static_cast<int32_t>(Le32(b, 18))),
                         std::llabs(static_cast<int32_t>(Le32(b, 22)))};
        return std::nullopt;
    }
    if (starts("\xFF\xD8")) {
        // Segment by segment to the first frame header, so an Exif thumbnail's is not taken.
        std::size_t at = 2;
        while (at + 9 <= b.size() && b[at] == 0xFF) {
            const uint8_t marker = b[at + 1];
            if (marker == 0xFF) {
                ++at;
                continue;
            }
            if (marker == 0xDA || marker == 0xD9)
                return std::nullopt;
            const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
                               marker != 0xC8 && marker != 0xCC;
            if (frame)
                return Sides{Be16(b, at + 7), Be16(b, at + 5)};
            at += 2 + Be16(b, at + 2);
        }
    }
    return std::nullopt;
}

// Where a GIF's first image stands on its logical screen, and what shows around it: Qt's reader
// gives the whole screen, the background colour around the image, or nothing (white here) when
// the image has a transparent index; WIC gives the image alone.
struct GifScreen {
    int64_t Width = 0, Height = 0;
    int64_t Left = 0, Top = 0;
    uint32_t Around = 0xFFFFFF;
};

std::optional<GifScreen> GifScreenOf(std::span<const uint8_t> b) {
    if (b.size() < 13 || std::memcmp(b.data(), "GIF", 3) != 0)
        return std::nullopt;
    GifScreen screen;
    screen.Width = Le16(b, 6);
    screen.Height = Le16(b, 8);
    const uint8_t packed = b[10];
    const std::size_t tableAt = 13;
    const std::size_t tableSize = (packed & 0x80) != 0 ? 3u << ((packed & 7) + 1) : 0;
    const std::size_t background = std::size_t{b[11]} * 3;
    uint32_t around = 0;  // a background index beyond the table is black
    if (background + 3 <= tableSize && tableAt + background + 3 <= b.size())
        around = uint32_t{b[tableAt + background]} | uint32_t{b[tableAt + background + 1]} << 8 |
                 uint32_t{b[tableAt + background + 2]} << 16;
    bool transparent = false;
    std::size_t at = tableAt + tableSize;
    while (at < b.size()) {
        if (b[at] == 0x2C) {
            if (at + 10 > b.size())
                return std::nullopt;
            screen.Left = Le16(b, at + 1);
            screen.Top = Le16(b, at + 3);
            screen.Around = transparent ? 0xFFFFFF : around;
            return screen;
        }
        if (b[at] != 0x21 || at + 2 >= b.size())
            return std::nullopt;
        // A graphic control extension before the image says whether it has a transparent index.
        if (b[at + 1] == 0xF9 && at + 4 < b.size() && b[at + 2] >= 4)
            transparent = (b[at + 3] & 1) != 0;
        at += 2;
        while (at < b.size() && b[at] != 0) at += std::size_t{b[at]} + 1;
        ++at;
    }
    return std::nullopt;
}

// The image on its screen, as Qt shows it; an image that fills its screen stays as it is.
Picture OnGifScreen(Picture image, const std::optional<GifScreen>& screen) {
    if (!screen || screen->Width == 0 || screen->Height == 0 ||
        (screen->Left == 0 && screen->Top == 0 && screen->Width == image.Width() &&
         screen->Height == image.Height()))
        return image;
    if (TooLarge(screen->Width, screen->Height, 4))
        Refuse(ErrorCode::InvalidPicture);
    const auto width = static_cast<int32_t>(screen->Width);
    const auto height = static_cast<int32_t>(screen->Height);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                 screen->Around);
    for (int32_t y = 0; y < image.Height(); ++y) {
        const int64_t row = screen->Top + y;
        for (int32_t x = 0; x < image.Width() && row < height; ++x) {
            const int64_t column = screen->Left + x;
            if (column < width)
                pixels[static_cast<std::size_t>(row * width + column)] = image.ImagePixelAt(x, y);
        }
    }
    return Picture(width, height, std::move(pixels));
}

// One pixel format the picture is copied out in, and its pixels as they show on white.
struct Layout {
    WICPixelFormatGUID Format;
    uint32_t BytesPerPixel;
    uint32_t (*Pixel)(const uint8_t*);
};

uint32_t Bgr(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}
uint64_t U16(const uint8_t* p) {
    return uint64_t{p[0]} | uint64_t{p[1]} << 8;  // WIC's deep samples are little-endian
}

constexpr uint64_t Opaque16 = 65535;

const Layout Bgra32{GUID_WICPixelFormat32bppBGRA, 4, [](const uint8_t* p) {
                        return Bgr(OnWhite8(p[2], p[3]), OnWhite8(p[1], p[3]),
                                   OnWhite8(p[0], p[3]));
                    }};
const Layout Rgba64{GUID_WICPixelFormat64bppRGBA, 8, [](const uint8_t* p) {
                        const uint64_t a = U16(p + 6);
                        return Bgr(OnWhite16(U16(p), a), OnWhite16(U16(p + 2), a),
                                   OnWhite16(U16(p + 4), a));
                    }};
// The deep formats decoders hand over themselves, read as they are: a format converter is not
// bound to keep their low bytes.
const Layout DeepLayouts[] = {
    Rgba64,
    {GUID_WICPixelFormat64bppBGRA, 8,
     [](const uint8_t* p) {
         const uint64_t a = U16(p + 6);
         return Bgr(OnWhite16(U16(p + 4), a), OnWhite16(U16(p + 2), a), OnWhite16(U16(p), a));
     }},
    {GUID_WICPixelFormat48bppRGB, 6,
     [](const uint8_t* p) {
         return Bgr(OnWhite16(U16(p), Opaque16), OnWhite16(U16(p + 2), Opaque16),
                    OnWhite16(U16(p + 4), Opaque16));
     }},
    {GUID_WICPixelFormat48bppBGR, 6,
     [](const uint8_t* p) {
         return Bgr(OnWhite16(U16(p + 4), Opaque16), OnWhite16(U16(p + 2), Opaque16),
                    OnWhite16(U16(p), Opaque16));
     }},
    {GUID_WICPixelFormat16bppGray, 2,
     [](const uint8_t* p) {
         const uint32_t grey = OnWhite16(U16(p), Opaque16);
         return Bgr(grey, grey, grey);
     }},
};

ComPtr<IWICImagingFactory> Factory() {
    ComPtr<IWICImagingFactory> factory;
    const HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_PPV_ARGS(&factory));
    if (result == CO_E_NOTINITIALIZED)
        throw std::logic_error("a picture read on a thread without a ComApartment");
    Check(result);
    return factory;
}

// More than eight bits in a channel, as the format's own description says.
bool Deep(IWICImagingFactory& factory, const WICPixelFormatGUID& format) {
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo> info;
    UINT bits = 0, channels = 0;
    if (FAILED(factory.CreateComponentInfo(format, &component)) || FAILED(component.As(&info)) ||
        FAILED(info->GetBitsPerPixel(&bits)) || FAILED(info->GetChannelCount(&channels)) ||
        channels == 0)
        return false;  // read through eight bits, as for a format the system cannot describe
    return bits / channels > 8;
}

// The frame in a layout the pixels are read from: a deep format as it is, else converted to
// 64-bit RGBA when deep and 32-bit BGRA when not.
std::pair<ComPtr<IWICBitmapSource>, const Layout*> Readable(IWICImagingFactory& factory,
                                                            IWICBitmapFrameDecode& frame) {
    WICPixelFormatGUID format{};
    Check(frame.GetPixelFormat(&format));
    ComPtr<IWICBitmapSource> source;
    Check(frame.QueryInterface(IID_PPV_ARGS(&source)));
    for (const Layout& layout : DeepLayouts)
        if (IsEqualGUID(format, layout.Format))
            return {source, &layout};
    if (IsEqualGUID(format, Bgra32.Format))
        return {source, &Bgra32};
    const Layout* target = Deep(factory, format) ? &Rgba64 : &Bgra32;
    ComPtr<IWICFormatConverter> converter;
    Check(factory.CreateFormatConverter(&converter));
    BOOL possible = FALSE;
    if (target == &Rgba64 &&
        (FAILED(converter->CanConvert(format, Rgba64.Format, &possible)) || !possible))
        target = &Bgra32;  // better eight bits than no picture
    Check(converter->Initialize(source.Get(), target->Format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom));
    ComPtr<IWICBitmapSource> converted;
    Check(converter.As(&converted));
    return {converted, target};
}

struct LockedGlobal {
    explicit LockedGlobal(HGLOBAL memory) : Memory(memory), Data(GlobalLock(memory)) {}
    ~LockedGlobal() {
        if (Data != nullptr)
            GlobalUnlock(Memory);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    HGLOBAL Memory;
    void* Data;
};

class OpenClipboardSession {
  public:
    // Another program may hold the clipboard for a moment; it is asked again for a while.
    OpenClipboardSession() {
        const ULONGLONG deadline = GetTickCount64() + 500;
        while (!(open_ = OpenClipboard(nullptr) != FALSE) && GetTickCount64() < deadline) Sleep(10);
    }
    ~OpenClipboardSession() {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardSession(const OpenClipboardSession&) = delete;
    OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
    bool IsOpen() const { return open_; }

  private:
    bool open_ = false;
};

}  // namespace

ComApartment::ComApartment() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result))
        throw std::runtime_error("COM cannot be initialised apartment-threaded on this thread");
}

ComApartment::~ComApartment() {
    CoUninitialize();  // S_OK and S_FALSE alike are matched by one uninitialise
}

Picture ReadPictureFileWic(const std::string& utf8Path) {
    return ReadPictureBytesWic(ReadWholeFileW(WidePath(utf8Path)));
}

Picture ReadPictureBytesWic(std::string_view fileBytes) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(fileBytes.data()),
                                         fileBytes.size());
    if (PictureDataCut(bytes) || PngChunkDamaged(bytes))
        Refuse(ErrorCode::InvalidPicture);
    // The header's size refuses a huge picture before a decoder allocates anything for it.
    if (const std::optional<Sides> sides = HeaderSides(bytes);
        sides && TooLarge(sides->Width, sides->Height, 4))
        Refuse(ErrorCode::InvalidPicture);
    if (bytes.size() > MAXDWORD)
        Refuse(ErrorCode::InvalidPicture);

    const ComPtr<IWICImagingFactory> factory = Factory();
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(&stream));
    // The stream reads the caller's bytes in place, which outlive every object made here.
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                       static_cast<DWORD>(bytes.size())));
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                           &decoder));
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, &frame));
    UINT width = 0, height = 0;
    Check(frame->GetSize(&width, &height));
    const auto [source, layout] = Readable(*factory.Get(), *frame.Get());
    // Counted as Qt counts its decoded image: four bytes a pixel, eight when deep.
    if (width == 0 || height == 0 || TooLarge(width, height, layout == &Bgra32 ? 4 : 8))
        Refuse(ErrorCode::InvalidPicture);

    std::vector<uint32_t> pixels;
    pixels.reserve(std::size_t{width} * height);
    // A strip at a time: a second copy of the whole picture would double what the read holds.
    const UINT stride = width * layout->BytesPerPixel;
    const UINT rowsPerStrip = std::max<UINT>(1, (UINT{1} << 20) / stride);
    std::vector<uint8_t> strip(std::size_t{stride} * std::min(rowsPerStrip, height));
    for (UINT top = 0; top < height; top += rowsPerStrip) {
        const UINT rows = std::min(rowsPerStrip, height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width),
                           static_cast<INT>(rows)};
        Check(source->CopyPixels(&rect, stride, stride * rows, strip.data()));
        for (UINT y = 0; y < rows; ++y) {
            const uint8_t* row = strip.data() + std::size_t{y} * stride;
            for (UINT x = 0; x < width; ++x)
                pixels.push_back(layout->Pixel(row + std::size_t{x} * layout->BytesPerPixel));
        }
    }
    return OnGifScreen(
        Picture(static_cast<int32_t>(width), static_cast<int32_t>(height), std::move(pixels)),
        GifScreenOf(bytes));
}

bool ClipboardHasPictureWin32() {
    return IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_DIBV5) ||
           IsClipboardFormatAvailable(CF_BITMAP);
}

Picture ClipboardPictureWin32() {
    const OpenClipboardSession clipboard;
    if (!clipboard.IsOpen())
        Refuse(ErrorCode::InvalidClipboardFormat);
    // CF_DIB first: the clipboard makes it from CF_BITMAP and CF_DIBV5 when only they are held.
    UINT format = 0;
    if (IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP))
        format = CF_DIB;
    else if (IsClipboardFormatAvailable(CF_DIBV5))
        format = CF_DIBV5;
    else
        Refuse(ErrorCode::InvalidClipboardFormat);
    const HANDLE data = GetClipboardData(format);
    if (data == nullptr)
        Refuse(ErrorCode::InvalidClipboardFormat);
    const LockedGlobal locked(data);
    if (locked.Data == nullptr)
        Refuse(ErrorCode::InvalidClipboardFormat);
    const SIZE_T size = GlobalSize(data);
    std::optional<Picture> picture =
        PictureFromPackedDib({static_cast<const uint8_t*>(locked.Data), size});
    if (!picture)
        Refuse(ErrorCode::InvalidClipboardFormat);
    return std::move(*picture);
}

}  // namespace inkrelay::win32
