#pragma once
// A window's controls and the main window's menus made from the layout table: each control at
// its place under its parent, in the table's order, named after its row so that the windows and
// the tests find it by that name.

#include <QWidget>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/window_layout.h"

class QAction;
class QMenu;
class QMenuBar;

namespace inkrelay::ui {

class BuiltControls {
  public:
    // Makes every control of window on client, which becomes the window's fixed client size.
    BuiltControls(const WindowLayout& window, QWidget* client);

    template <typename W>
    W* Get(std::string_view name) const {
        W* control = qobject_cast<W*>(Find(name));
        if (control == nullptr)
            throw std::logic_error("the layout's " + std::string(name) + " is not that kind");
        return control;
    }

  private:
    QWidget* Find(std::string_view name) const;
    std::vector<std::pair<std::string_view, QWidget*>> made_;
};

class BuiltMenus {
  public:
    // The main window's menu tree on bar, with mnemonics, shortcuts and separators.
    explicit BuiltMenus(QMenuBar* bar);

    QMenu* Menu(std::string_view name) const;
    QAction* Item(std::string_view name) const;

  private:
    std::vector<std::pair<std::string_view, QMenu*>> menus_;
    std::vector<std::pair<std::string_view, QAction*>> items_;
};

}  // namespace inkrelay::ui
