// The build with libpng keeps the program's rule: a name ending in "png" or "PNG" goes to the PNG
// decoder, any other spelling to the general loader.

#include "app/picture_loading_role.h"
#include "image/png_picture.h"

namespace inkrelay {

Picture DecodePictureFile(const std::string& path, const GeneralPictureLoader& generalLoader) {
    return TakesPngPath(path) ? LoadPngPicture(path) : generalLoader(path);
}

}  // namespace inkrelay
