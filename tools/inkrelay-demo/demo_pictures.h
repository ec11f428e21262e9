#pragma once
// The demo's pictures: the sample it draws, what the applet should end up showing, and the
// side-by-side result with its labels.

#include <QImage>
#include <QString>
#include <vector>

#include "image/picture.h"

namespace inkrelay::demo {

// A small landscape: a sky in bands, a sun, a house with white windows, and a meadow.
QImage SamplePicture(int width, int height);

// The program's own picture of a QImage (0x00BBGGRR pixels).
Picture ToPicture(const QImage& image);
QImage ToImage(const Picture& picture);

// A full-colour read at quality 0 drawn perfectly: each pixel's quantised colour, white left
// unpainted.
Picture QuantisedPicture(const Picture& source);

struct Panel {
    QString Label;
    QImage Image;
};

// The panels side by side, each scaled up by scale with its label above, and the lines of
// text below.
QImage SideBySide(const std::vector<Panel>& panels, int scale, const std::vector<QString>& lines);

}  // namespace inkrelay::demo
