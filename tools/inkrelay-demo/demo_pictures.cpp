#include "demo_pictures.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "scan/quantizer.h"

namespace inkrelay::demo {

namespace {

constexpr int Margin = 16;
constexpr int LabelHeight = 22;
constexpr int LineHeight = 20;

QColor Mix(QColor a, QColor b, double t) {
    const auto channel = [t](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * t));
    };
    return {channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue())};
}

}  // namespace

QImage SamplePicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const int horizon = height * 3 / 4;
    // Bands of three rows and meadow columns of four keep the colours to a few hundred.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QColor colour = y < horizon ? Mix(QColor(40, 90, 200), QColor(190, 220, 250),
                                                    (y / 3 * 3) / static_cast<double>(horizon))
                                              : Mix(QColor(60, 150, 40), QColor(170, 200, 60),
                                                    (x / 4 * 4) / static_cast<double>(width))
                                                    .darker(100 + (y - horizon) * 2);
            image.setPixel(x, y, colour.rgb());
        }
    }
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    // Whole pixels only: smoothing would add a colour at every edge.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(QColor(255, 200, 40));
    painter.drawEllipse(QPoint(width * 4 / 5, height / 5), height / 9, height / 9);
    const QRect house(width / 6, height / 2, width / 3, height / 3);
    painter.setBrush(QColor(200, 60, 50));
    painter.drawRect(house);
    painter.setBrush(QColor(110, 60, 30));
    const QPoint roof[] = {{house.left() - 6, house.top()},
                           {house.center().x(), house.top() - height / 5},
                           {house.right() + 6, house.top()}};
    painter.drawPolygon(roof, 3);
    painter.setBrush(Qt::white);
    painter.drawRect(house.left() + 6, house.top() + 6, 10, 10);
    painter.drawRect(house.right() - 16, house.top() + 6, 10, 10);
    painter.setBrush(QColor(30, 40, 120));
    painter.drawRect(house.center().x() - 5, house.bottom() - 18, 10, 19);
    painter.end();
    // A thin dark fence: a run one pixel high and posts one pixel wide.
    for (int x = 2; x < width - 2; ++x) {
        image.setPixel(x, height - 12, qRgb(50, 30, 20));
        if (x % 6 == 2) {
            for (int y = height - 16; y < height - 8; ++y) image.setPixel(x, y, qRgb(50, 30, 20));
        }
    }
    return image;
}

Picture ToPicture(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(rgb.width()) * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            pixels.push_back(static_cast<uint32_t>(qRed(p)) |
                             static_cast<uint32_t>(qGreen(p)) << 8 |
                             static_cast<uint32_t>(qBlue(p)) << 16);
        }
    }
    return Picture(rgb.width(), rgb.height(), std::move(pixels));
}

QImage ToImage(const Picture& picture) {
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const uint32_t p = picture.PixelAt(x, y);
            image.setPixel(x, y,
                           qRgb(static_cast<int>(p & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                                static_cast<int>(p >> 16 & 0xFF)));
        }
    }
    return image;
}

Picture QuantisedPicture(const Picture& source) {
    const QuantizerRules rules = QuantizerRulesFor(0);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < source.Height(); ++y) {
        for (int32_t x = 0; x < source.Width(); ++x) {
            const ColourLevels c = QuantizeColour(rules, source.PixelAt(x, y));
            pixels.push_back(IsWhite(c)
                                 ? 0x00FFFFFFu
                                 : static_cast<uint32_t>(c.R * 5 | c.G * 5 << 8 | c.B * 5 << 16));
        }
    }
    return Picture(source.Width(), source.Height(), std::move(pixels));
}

QImage SideBySide(const std::vector<Panel>& panels, int scale, const std::vector<QString>& lines) {
    int width = Margin, tallest = 0;
    for (const Panel& panel : panels) {
        width += panel.Image.width() * scale + Margin;
        tallest = std::max(tallest, panel.Image.height() * scale);
    }
    const int textTop = Margin + LabelHeight + tallest + Margin / 2;
    const int height = textTop + static_cast<int>(lines.size()) * LineHeight + Margin / 2;
    QImage result(width, height, QImage::Format_RGB32);
    result.fill(QColor(236, 236, 236));
    QPainter painter(&result);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    int left = Margin;
    for (const Panel& panel : panels) {
        const QSize size = panel.Image.size() * scale;
        painter.drawText(QRect(left, Margin, std::max(size.width(), 1), LabelHeight),
                         Qt::AlignLeft | Qt::AlignTop, panel.Label);
        painter.drawImage(QRect(QPoint(left, Margin + LabelHeight), size), panel.Image);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(left - 1, Margin + LabelHeight - 1), size + QSize(1, 1)));
        left += size.width() + Margin;
    }
    int y = textTop;
    for (const QString& line : lines) {
        painter.drawText(QRect(Margin, y, width - 2 * Margin, LineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        y += LineHeight;
    }
    return result;
}

}  // namespace inkrelay::demo
