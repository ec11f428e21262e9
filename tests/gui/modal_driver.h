#pragma once
// Answers the modal boxes and dialogs a test opens. The steps run from timers inside the modal
// loops, one step for each modal window that comes up, in order.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace inkrelay::test {

struct SeenBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    bool OnTop = false;
};

class ModalDriver {
  public:
    using Step = std::function<void(QWidget* modal)>;

    ModalDriver();

    // Handles the next modal window; the step must close it.
    void Then(Step step);
    // The next modal window must be a message box: it is recorded and the button pressed.
    void AnswerBox(QMessageBox::StandardButton button);
    // The next modal window must be a T; body works on it and must close it.
    template <typename T>
    void WithDialog(std::function<void(T&)> body) {
        Then([body = std::move(body)](QWidget* modal) {
            if (auto* dialog = qobject_cast<T*>(modal)) {
                body(*dialog);
            } else {
                Unexpected(modal);
            }
        });
    }

    const std::vector<SeenBox>& Boxes() const { return boxes_; }
    size_t PendingSteps() const { return steps_.size(); }

    // Records a failure and closes a modal window no step was waiting for.
    static void Unexpected(QWidget* modal);

  private:
    void Poll();
    void PollLater();

    QObject context_;  // ends the polling with the driver
    std::deque<Step> steps_;
    std::vector<SeenBox> boxes_;
};

}  // namespace inkrelay::test
