#include "png_samples.h"

#include <cmath>
#include <random>

namespace inkrelay::test {

namespace {

uint8_t OnWhite(double c, double a) {
    return static_cast<uint8_t>(std::lround((c * a + (1.0 - a)) * 255.0));
}

}  // namespace

std::vector<PngKind> AllPngKinds() {
    std::vector<PngKind> kinds;
    for (bool trns : {false, true}) {
        for (int depth : {1, 2, 4, 8}) kinds.push_back({PNG_COLOR_TYPE_PALETTE, depth, trns});
        for (int depth : {1, 2, 4, 8, 16}) kinds.push_back({PNG_COLOR_TYPE_GRAY, depth, trns});
        for (int depth : {8, 16}) kinds.push_back({PNG_COLOR_TYPE_RGB, depth, trns});
    }
    for (int depth : {8, 16}) {
        kinds.push_back({PNG_COLOR_TYPE_GRAY_ALPHA, depth, false});
        kinds.push_back({PNG_COLOR_TYPE_RGB_ALPHA, depth, false});
    }
    return kinds;
}

PngImage RandomPngImage(const PngKind& kind, uint32_t width, uint32_t height, bool interlaced,
                        uint32_t seed) {
    std::mt19937 random(seed);
    PngImage image;
    image.Width = width;
    image.Height = height;
    image.ColourType = kind.ColourType;
    image.BitDepth = kind.BitDepth;
    image.Interlaced = interlaced;
    const uint32_t top = (1u << kind.BitDepth) - 1;
    std::uniform_int_distribution<uint32_t> sample(0, top);
    const int channels = ChannelCount(kind.ColourType);
    for (size_t i = 0; i < size_t{width} * height * channels; ++i)
        image.Samples.push_back(static_cast<uint16_t>(sample(random)));
    if (kind.ColourType == PNG_COLOR_TYPE_PALETTE) {
        std::uniform_int_distribution<int> byte(0, 255);
        for (uint32_t i = 0; i <= top; ++i)
            image.Palette.push_back({static_cast<png_byte>(byte(random)),
                                     static_cast<png_byte>(byte(random)),
                                     static_cast<png_byte>(byte(random))});
        if (kind.Transparency) {
            // Fewer alpha entries than colours: the rest are opaque.
            for (uint32_t i = 0; i < (top + 2) / 2; ++i)
                image.PaletteAlpha.push_back(static_cast<uint8_t>(i == 0 ? 0 : byte(random)));
        }
    } else if (kind.Transparency) {
        png_color_16 colour{};
        colour.gray = image.Samples[0];
        if (kind.ColourType == PNG_COLOR_TYPE_RGB) {
            colour.red = image.Samples[0];
            colour.green = image.Samples[1];
            colour.blue = image.Samples[2];
        }
        image.TransparentColour = colour;
        // Make the transparent colour common, not a one-in-a-million chance.
        for (size_t p = 0; p < size_t{width} * height; p += 3)
            for (int c = 0; c < channels; ++c) image.Samples[p * channels + c] = image.Samples[c];
    }
    return image;
}

uint32_t ExpectedOnWhite(const PngImage& image, uint32_t x, uint32_t y) {
    const int channels = ChannelCount(image.ColourType);
    const uint16_t* s = image.Samples.data() + (size_t{y} * image.Width + x) * channels;
    const double top = static_cast<double>((1u << image.BitDepth) - 1);
    double r = 0, g = 0, b = 0, a = 1;
    switch (image.ColourType) {
        case PNG_COLOR_TYPE_PALETTE: {
            const png_color& entry = image.Palette.at(s[0]);
            r = entry.red / 255.0;
            g = entry.green / 255.0;
            b = entry.blue / 255.0;
            if (s[0] < image.PaletteAlpha.size())
                a = image.PaletteAlpha[s[0]] / 255.0;
            break;
        }
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            r = g = b = s[0] / top;
            if (channels == 2)
                a = s[1] / top;
            else if (image.TransparentColour && s[0] == image.TransparentColour->gray)
                a = 0;
            break;
        default:
            r = s[0] / top;
            g = s[1] / top;
            b = s[2] / top;
            if (channels == 4)
                a = s[3] / top;
            else if (image.TransparentColour && s[0] == image.TransparentColour->red &&
                     s[1] == image.TransparentColour->green &&
                     s[2] == image.TransparentColour->blue)
                a = 0;
            break;
    }
    return uint32_t{OnWhite(r, a)} | uint32_t{OnWhite(g, a)} << 8 | uint32_t{OnWhite(b, a)} << 16;
}

std::string SpltLengthFind() {
    return std::string(
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52"
        "\x00\x00\x00\x09\x00\x00\x00\x05\x01\x03\x00\x00\x00\xad\x9d\x54"
        "\x28\x75\x73\x62\x73\x73\x50\x4c\x54\x45\xc1\x00\xd5\xf1\x2c\x24"
        "\xdf\x6d\xab\xed\x00\x00\x00\x01\x74\x52\x4e\x53\x00\x40\xe6\xd8"
        "\x66\x00\x00\x00\x17\x49\x44\x41\x54\x08\x99\x63\x78\xcb\xc0\xe0"
        "\xd8\xc0\x20\xc7\xc0\x70\xaf\x81\x81\x9b\x01\x00\x1c\x2c\x03\x36"
        "\x49\xc4\xcc\x83\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
        112);
}

}  // namespace inkrelay::test
