#pragma once
// What the window needs of the X server under Qt's xcb platform. On other platforms Qt alone
// answers: there is nothing to wait for and its idea of the window's place is all there is.

#include <QPoint>

class QWidget;

namespace inkrelay::practice {

// Returns once the display server has carried out every request sent so far, paints included.
void SyncWithDisplay();

// The screen position of widget's local point, as the server has the window placed.
QPoint ScreenPositionOf(const QWidget& widget, QPoint local);

}  // namespace inkrelay::practice
