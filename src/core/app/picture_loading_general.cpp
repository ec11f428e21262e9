// The build without libpng: the general loader takes every file, PNG included.

#include "app/picture_loading_role.h"

namespace inkrelay {

Picture DecodePictureFile(const std::string& path, const GeneralPictureLoader& generalLoader) {
    return generalLoader(path);
}

}  // namespace inkrelay
