#pragma once
// The Windows picture services: picture files through the Windows Imaging Component, and the
// clipboard's picture, by the same rules as the Qt front end's loader (src/ui/pictures).

#include <string>
#include <string_view>

#include "image/picture.h"

namespace inkrelay::win32 {

// COM in the apartment-threaded model for the thread that makes it, for the life of the object;
// the UI thread holds one for the program's life, before any picture is read. Throws
// std::runtime_error when the thread is already in the multithreaded apartment.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// Any format WIC reads (BMP, JPEG, GIF and PNG at least), path in UTF-8, stored orientation kept
// (no EXIF rotation), the decoded image at most 128 MB; a file whose structure shows it cut or
// damaged is refused before it is decoded. A file that cannot be read raises 53, 70 or 75 (52 for
// a name Windows cannot hold); data WIC cannot decode, or a side of 32766 or more, raises 481;
// no memory raises 7. Needs a ComApartment on the calling thread (std::logic_error otherwise).
Picture ReadPictureFileWic(const std::string& utf8Path);
// The same for a file's bytes already in memory. Raises 481 or 7 only.
Picture ReadPictureBytesWic(std::string_view bytes);

// Whether the clipboard offers a picture: CF_DIB, CF_DIBV5 or CF_BITMAP.
bool ClipboardHasPictureWin32();
// The clipboard's picture, CF_BITMAP through the clipboard's own conversion to CF_DIB. Raises 460
// when the clipboard holds no picture, cannot be opened, or holds a block the packed-DIB reader
// refuses (as Qt's clipboard gives no image then).
Picture ClipboardPictureWin32();

}  // namespace inkrelay::win32
