#include "read_only_text.h"

#include <QKeyEvent>

namespace inkrelay::ui {

ReadOnlyText::ReadOnlyText(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setReadOnly(true);
}

bool ReadOnlyText::event(QEvent* event) {
    // A line edit claims Ctrl+A for itself; the Edit menu's Select All must win.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

}  // namespace inkrelay::ui
