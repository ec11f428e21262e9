#pragma once
// The program's colours (0x00BBGGRR, red in the low byte) as Qt's QRgb (0xAARRGGBB).

#include <QColor>
#include <cstdint>

namespace inkrelay::ui {

inline QRgb QtRgb(uint32_t colourRef) {
    return qRgb(static_cast<int>(colourRef & 0xFF), static_cast<int>(colourRef >> 8 & 0xFF),
                static_cast<int>(colourRef >> 16 & 0xFF));
}

}  // namespace inkrelay::ui
