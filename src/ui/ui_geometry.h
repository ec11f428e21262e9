#pragma once
// Controls stand at fixed pixel positions inside their container, as the windows were drawn.

#include <QWidget>

namespace inkrelay::ui {

template <typename W>
W* Place(W* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
    return widget;
}

}  // namespace inkrelay::ui
