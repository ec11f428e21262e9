#include "picture_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/picture_loading.h"
#include "file_errors.h"
#include "image/picture.h"
#include "runtime_error.h"

namespace inkrelay::ui {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file's bytes, with the operating system's failure in the runtime's code.
QByteArray ReadWholeFile(const std::string& path) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw RuntimeError(RuntimeCodeForErrno(errno, FileAccess::Read));
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.append(chunk, static_cast<qsizetype>(got));
        if (got < sizeof chunk)
            break;
    }
    // A folder opens on some systems and fails on the first read.
    if (std::ferror(file.get()))
        throw RuntimeError(RuntimeCodeForErrno(errno, FileAccess::Read));
    return bytes;
}

// Also what the clipboard offers: a picture the working picture cannot hold is a bad picture,
// not an argument error that would end the program.
bool TooLarge(const QSize& size) {
    return size.width() >= RefusedPictureSide || size.height() >= RefusedPictureSide ||
           int64_t{size.width()} * size.height() > MaxPicturePixels;
}

uint32_t OnWhite(uint32_t channel, uint32_t alpha) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

}  // namespace

Picture ReadPictureFile(const std::string& path) {
    QByteArray bytes = ReadWholeFile(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    // The header's size refuses a huge picture before anything is allocated for it.
    if (reader.canRead() && TooLarge(reader.size()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    const QImage image = reader.read();
    if (image.isNull() || TooLarge(image.size()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    return PictureFromImage(image);
}

Picture PictureFromImage(const QImage& image) {
    if (image.isNull() || TooLarge(image.size()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width();
    const int height = argb.height();
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            const auto a = static_cast<uint32_t>(qAlpha(p));
            pixels.push_back(OnWhite(static_cast<uint32_t>(qRed(p)), a) |
                             OnWhite(static_cast<uint32_t>(qGreen(p)), a) << 8 |
                             OnWhite(static_cast<uint32_t>(qBlue(p)), a) << 16);
        }
    }
    return Picture(width, height, std::move(pixels));
}

}  // namespace inkrelay::ui
