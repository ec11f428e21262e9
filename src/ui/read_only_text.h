#pragma once
// Text1 .. Text4: coordinates for reading only. Menu shortcuts keep working while one has the
// focus, as they do in every other control of the window.

#include <QLineEdit>

namespace inkrelay::ui {

class ReadOnlyText : public QLineEdit {
    Q_OBJECT

  public:
    ReadOnlyText(const QString& text, QWidget* parent);

  protected:
    bool event(QEvent* event) override;
};

}  // namespace inkrelay::ui
