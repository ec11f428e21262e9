#include "layout_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "colour_swatch.h"
#include "picture_box.h"
#include "program_icon.h"
#include "read_only_text.h"

namespace inkrelay::ui {

namespace {

QString Qt8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* Make(const ControlPlace& place, QWidget* parent) {
    const QString caption = Qt8(place.Caption);
    switch (place.Kind) {
        case ControlKind::Frame: return new QGroupBox(caption, parent);
        case ControlKind::Option: return new QRadioButton(caption, parent);
        case ControlKind::Command: {
            auto* button = new QPushButton(caption, parent);
            button->setDefault(place.Default);
            return button;
        }
        case ControlKind::Combo: return new QComboBox(parent);
        case ControlKind::Text: return new ReadOnlyText(caption, parent);
        case ControlKind::Picture: return new PictureBox(parent);
        case ControlKind::Swatch: return new ColourSwatch(parent);
        case ControlKind::Icon: {
            auto* icon = new QLabel(parent);
            icon->setPixmap(ProgramIconPixmap(place.Width));
            return icon;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parent);
            if (place.Bold) {
                QFont font = label->font();
                font.setBold(true);
                label->setFont(font);
            }
            return label;
        }
        case ControlKind::Check: return new QCheckBox(caption, parent);
        case ControlKind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            slider->setTickPosition(QSlider::TicksBelow);
            return slider;
        }
        case ControlKind::StatusBar: return new QWidget(parent);
        case ControlKind::StatusPanel: {
            auto* panel = new QLabel(parent);
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panel->setIndent(2);
            return panel;
        }
        case ControlKind::Progress: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            return bar;
        }
    }
    throw std::logic_error("a control kind without a widget");
}

}  // namespace

BuiltControls::BuiltControls(const WindowLayout& window, QWidget* client) {
    client->setFixedSize(window.ClientWidth, window.ClientHeight);
    for (const ControlPlace& place : window.Controls) {
        QWidget* parent = place.Parent.empty() ? client : Find(place.Parent);
        QWidget* control = Make(place, parent);
        control->setObjectName(Qt8(place.Name));
        control->setGeometry(place.Left, place.Top, place.Width, place.Height);
        made_.emplace_back(place.Name, control);
    }
    // Every buddy is made by now, wherever its label stands.
    for (const ControlPlace& place : window.Controls)
        if (!place.Buddy.empty())
            Get<QLabel>(place.Name)->setBuddy(Find(place.Buddy));
}

QWidget* BuiltControls::Find(std::string_view name) const {
    const auto found =
        std::ranges::find(made_, name, &std::pair<std::string_view, QWidget*>::first);
    if (found == made_.end())
        throw std::logic_error("the layout has no control " + std::string(name));
    return found->second;
}

BuiltMenus::BuiltMenus(QMenuBar* bar) {
    const std::span<const MenuPlace> tree = Form1Menus();
    const auto opensMenu = [&](const MenuPlace& item) {
        return std::ranges::any_of(
            tree, [&](const MenuPlace& other) { return other.Parent == item.Name; });
    };
    for (const MenuPlace& item : tree) {
        QMenu* parent = item.Parent.empty() ? nullptr : Menu(item.Parent);
        if (item.IsSeparator()) {
            parent->addSeparator();
        } else if (opensMenu(item)) {
            QMenu* menu = parent == nullptr ? bar->addMenu(Qt8(item.Caption))
                                            : parent->addMenu(Qt8(item.Caption));
            menus_.emplace_back(item.Name, menu);
        } else {
            QAction* action = parent->addAction(Qt8(item.Caption));
            if (item.CtrlKey != 0)
                action->setShortcut(QKeySequence(QKeyCombination(
                    Qt::ControlModifier, static_cast<Qt::Key>(Qt::Key_A + (item.CtrlKey - 'A')))));
            action->setCheckable(item.Checkable);
            items_.emplace_back(item.Name, action);
        }
    }
}

QMenu* BuiltMenus::Menu(std::string_view name) const {
    const auto found = std::ranges::find(menus_, name, &std::pair<std::string_view, QMenu*>::first);
    if (found == menus_.end())
        throw std::logic_error("the menu tree has no menu " + std::string(name));
    return found->second;
}

QAction* BuiltMenus::Item(std::string_view name) const {
    const auto found =
        std::ranges::find(items_, name, &std::pair<std::string_view, QAction*>::first);
    if (found == items_.end())
        throw std::logic_error("the menu tree has no item " + std::string(name));
    return found->second;
}

}  // namespace inkrelay::ui
