#include "canvas_png_win32.h"

#include "win32_text.h"
// After windows.h.
#include <wincodec.h>
#include <wrl/client.h>

#include <stdexcept>
#include <string_view>

namespace inkrelay::practice {

namespace {

using Microsoft::WRL::ComPtr;
using win32::Win32Failure;

void Check(HRESULT result, std::string_view what) {
    if (FAILED(result))
        throw std::runtime_error(Win32Failure(what, static_cast<DWORD>(result)));
}

// COM for this thread for as long as it lives; a thread that has it already keeps its model.
class ComApartment {
  public:
    ComApartment() {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (result != RPC_E_CHANGED_MODE)
            Check(result, "CoInitializeEx");
        owned_ = SUCCEEDED(result);
    }
    ~ComApartment() {
        if (owned_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool owned_ = false;
};

// WIC's PNG encoder takes 24-bit pixels blue first and writes them red first, as PNG has them;
// its rows are padded to four bytes.
std::vector<BYTE> BgrRows(int32_t width, int32_t height, const std::vector<uint32_t>& pixels,
                          UINT stride) {
    std::vector<BYTE> rows(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        BYTE* row = rows.data() + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t colour = pixels[static_cast<size_t>(y) * width + x];
            row[3 * x] = static_cast<BYTE>(colour >> 16);
            row[3 * x + 1] = static_cast<BYTE>(colour >> 8);
            row[3 * x + 2] = static_cast<BYTE>(colour);
        }
    }
    return rows;
}

// opened is set once the file is there, made or emptied by this write.
void Encode(const std::wstring& path, int32_t width, int32_t height,
            const std::vector<uint32_t>& pixels, bool& opened) {
    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(&factory)),
          "creating the imaging factory");
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(&stream), "IWICImagingFactory::CreateStream");
    Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "opening the file");
    opened = true;
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder),
          "creating the PNG encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "starting the PNG file");
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> properties;
    Check(encoder->CreateNewFrame(&frame, &properties), "IWICBitmapEncoder::CreateNewFrame");
    Check(frame->Initialize(properties.Get()), "IWICBitmapFrameEncode::Initialize");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)),
          "IWICBitmapFrameEncode::SetSize");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), "IWICBitmapFrameEncode::SetPixelFormat");
    // The encoder may answer with a format of its own instead of taking ours.
    if (format != GUID_WICPixelFormat24bppBGR)
        throw std::runtime_error("the PNG encoder does not take 24-bit BGR pixels");
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> rows = BgrRows(width, height, pixels, stride);
    Check(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(rows.size()),
                             rows.data()),
          "IWICBitmapFrameEncode::WritePixels");
    Check(frame->Commit(), "IWICBitmapFrameEncode::Commit");
    Check(encoder->Commit(), "IWICBitmapEncoder::Commit");
}

}  // namespace

void WriteCanvasPng(const std::wstring& path, int32_t width, int32_t height,
                    const std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw std::invalid_argument("the canvas pixels do not match its size");
    const ComApartment apartment;
    bool opened = false;
    try {
        // Returns or throws with the encoder's objects released, so the file is closed.
        Encode(path, width, height, pixels, opened);
    } catch (const std::runtime_error& failure) {
        if (opened && DeleteFileW(path.c_str()) == 0)
            throw std::runtime_error(std::string(failure.what()) + "; " +
                                     Win32Failure("removing the half-written file"));
        throw;
    }
}

}  // namespace inkrelay::practice
