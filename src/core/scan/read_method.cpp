#include "scan/read_method.h"

#include "scan/color_prime_scan.h"
#include "scan/inkjet_scan.h"
#include "scan/line_art_scan.h"

namespace inkrelay {

ReadMethod ReadMethodFor(bool lineArtMode, int16_t formula) {
    if (lineArtMode)
        return ReadMethod::LineArt;
    return formula != 0 ? ReadMethod::ColorPrime : ReadMethod::Inkjet;
}

bool RangeTooLargeToRead(const RangeSlots& range) {
    return int32_t{range.Bottom} - range.Top >= LongestReadSide ||
           int32_t{range.Right} - range.Left >= LongestReadSide;
}

ScanResult ReadRange(ReadMethod method, const Picture& picture, const RangeSlots& range,
                     int16_t quality, uint32_t lineColour, EventMemory& mem,
                     const ScanHooks& hooks) {
    switch (method) {
        case ReadMethod::ColorPrime: return ScanColorPrime(picture, range, quality, mem, hooks);
        case ReadMethod::LineArt: return ScanLineArt(picture, range, lineColour, mem, hooks);
        case ReadMethod::Inkjet: break;
    }
    return ScanInkjet(picture, range, quality, mem, hooks);
}

}  // namespace inkrelay
