#pragma once
// The working picture: the loaded image with a persistent drawn layer over it. The only thing
// ever drawn is the inverting range outline, so the layer is kept as one invert bit per pixel.

#include <cstdint>
#include <vector>

namespace inkrelay {

// 512 MiB of 32-bit pixels: more than any picture the 16-bit coordinates can use.
inline constexpr int64_t MaxPicturePixels = int64_t{1} << 27;

class Picture {
  public:
    // What GetPixel answers for a point off the surface (CLR_INVALID).
    static constexpr uint32_t InvalidColour = 0xFFFFFFFF;

    Picture() = default;
    // pixels: width × height values 0x00BBGGRR, top row first; the top byte is dropped. A
    // negative side, a size mismatch or more than MaxPicturePixels raises invalid argument (5).
    Picture(int32_t width, int32_t height, std::vector<uint32_t> pixels);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool IsEmpty() const { return image_.empty(); }

    // The surface (image with the drawn layer); InvalidColour off the picture.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    // The bare image, whatever is drawn over it; InvalidColour off the picture.
    uint32_t ImagePixelAt(int32_t x, int32_t y) const;

    // Clears the drawn layer.
    void Cls();
    // Inverts every pixel of the one-pixel box outline with corners (left, top) and (right,
    // bottom), both included, in either order; each pixel once, clipped to the picture.
    void ToggleRangeOutline(int32_t left, int32_t top, int32_t right, int32_t bottom);

    bool operator==(const Picture&) const = default;

  private:
    bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    void InvertRow(int32_t y, int32_t fromX, int32_t toX);
    void InvertColumn(int32_t x, int32_t fromY, int32_t toY);

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> image_;
    std::vector<bool> inverted_;
};

}  // namespace inkrelay
