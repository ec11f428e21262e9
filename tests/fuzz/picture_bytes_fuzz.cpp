// libFuzzer over the general picture loader: arbitrary bytes as a file's contents, through the
// structural check and Qt's readers (BMP, JPEG, GIF, PNG and the rest Qt has). A refusal must
// be the bad-picture error; a picture must have sides the working picture can hold.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "image/picture.h"
#include "image/picture_limits.h"
#include "picture_reader.h"
#include "runtime_error.h"

// Qt finds its image-format plugins (JPEG, GIF, ICO) without an application object, from the
// plugin path it was built with.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace inkrelay;
    try {
        const Picture picture = ui::ReadPictureBytes({reinterpret_cast<const char*>(data), size});
        FUZZ_CHECK(picture.Width() > 0 && picture.Height() > 0);
        FUZZ_CHECK(!PictureSideRefused(picture.Width(), picture.Height()));
        FUZZ_CHECK(int64_t{picture.Width()} * picture.Height() <= MaxPicturePixels);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.Code() == ErrorCode::InvalidPicture);
    }
    return 0;
}
