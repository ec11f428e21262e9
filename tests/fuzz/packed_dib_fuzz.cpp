// libFuzzer over the clipboard's packed DIB: arbitrary bytes as the block Windows hands over.
// Besides the sanitizers it checks that a picture made from a block has the sides its header
// states.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "image/bitmap_info.h"
#include "image/packed_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace inkrelay;
    const auto picture = PictureFromPackedDib({data, size});
    if (!picture)
        return 0;
    FUZZ_CHECK(size >= sizeof(BitmapInfoHeader));
    BitmapInfoHeader header;
    std::memcpy(&header, data, sizeof header);
    FUZZ_CHECK(picture->Width() == header.Width);
    FUZZ_CHECK(int64_t{picture->Height()} ==
               (header.Height < 0 ? -int64_t{header.Height} : int64_t{header.Height}));
    return 0;
}
