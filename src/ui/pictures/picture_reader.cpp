#include "picture_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "image/on_white.h"
#include "image/picture.h"
#include "image/picture_file_check.h"
#include "image/picture_limits.h"
#include "runtime_error.h"
#include "whole_file.h"

namespace inkrelay::ui {

namespace {

// Also what the clipboard offers: a picture the working picture cannot hold is a bad picture,
// not an argument error that would end the program.
bool TooLarge(const QSize& size) {
    return PictureSideRefused(size.width(), size.height()) ||
           int64_t{size.width()} * size.height() > MaxPicturePixels;
}

// What one decoded image may take, stated here rather than left to the Qt version's default
// (128 MB in Qt 6.4): a picture of 32 million pixels. The picture made from it takes as much again.
constexpr int ReaderAllocationMegabytes = 128;

}  // namespace

Picture ReadPictureFile(const std::string& path) {
    const WholeFile file = ReadWholeFile(path);
    if (file.Error != 0)
        throw RuntimeError(file.Error);
    return ReadPictureBytes(file.Bytes);
}

Picture ReadPictureBytes(std::string_view fileBytes) {
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(fileBytes.data()),
                                        fileBytes.size());
    if (PictureDataCut(data) || PngChunkDamaged(data))
        throw RuntimeError(ErrorCode::InvalidPicture);
    // The file's bytes, not a copy of them.
    QByteArray bytes =
        QByteArray::fromRawData(fileBytes.data(), static_cast<qsizetype>(fileBytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader::setAllocationLimit(ReaderAllocationMegabytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    // The header's size refuses a huge picture before anything is allocated for it.
    if (reader.canRead() && TooLarge(reader.size()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    QImage image = reader.read();
    if (image.isNull() || TooLarge(image.size()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    return PictureFromImage(std::move(image));
}

Picture PictureFromImage(QImage image) {
    if (image.isNull() || TooLarge(image.size()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    const int width = image.width();
    const int height = image.height();
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto bgr = [](uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; };
    if (image.depth() == 64) {
        // Sixteen bits a channel are composited at full precision and rounded once, as the PNG
        // decoder does, not first cut to eight bits.
        // In place where Qt can: a second whole image would double what the reader holds.
        image.convertTo(QImage::Format_RGBA64);
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const QRgba64*>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const QRgba64 p = row[x];
                pixels.push_back(bgr(OnWhite16(p.red(), p.alpha()), OnWhite16(p.green(), p.alpha()),
                                     OnWhite16(p.blue(), p.alpha())));
            }
        }
        return Picture(width, height, std::move(pixels));
    }
    image.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            const auto a = static_cast<uint32_t>(qAlpha(p));
            pixels.push_back(bgr(OnWhite8(static_cast<uint32_t>(qRed(p)), a),
                                 OnWhite8(static_cast<uint32_t>(qGreen(p)), a),
                                 OnWhite8(static_cast<uint32_t>(qBlue(p)), a)));
        }
    }
    return Picture(width, height, std::move(pixels));
}

}  // namespace inkrelay::ui
