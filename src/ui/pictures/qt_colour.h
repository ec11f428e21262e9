#pragma once
// The program's colours (0x00BBGGRR, red in the low byte) as Qt's QRgb (0xAARRGGBB).

#include <QColor>
#include <QImage>
#include <cstdint>

namespace inkrelay::ui {

inline QRgb QtRgb(uint32_t colourRef) {
    return qRgb(static_cast<int>(colourRef & 0xFF), static_cast<int>(colourRef >> 8 & 0xFF),
                static_cast<int>(colourRef >> 16 & 0xFF));
}

// A width x height image whose pixel (x, y) is pixelAt(x, y), a colour of the program's.
template <typename PixelAt>
QImage QtImage(int width, int height, PixelAt pixelAt) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = QtRgb(pixelAt(x, y));
    }
    return image;
}

}  // namespace inkrelay::ui
