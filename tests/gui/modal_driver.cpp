#include "modal_driver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace inkrelay::test {

namespace {

constexpr int PollMilliseconds = 5;

}  // namespace

ModalDriver::ModalDriver() {
    PollLater();
}

void ModalDriver::Then(Step step) {
    steps_.push_back(std::move(step));
}

void ModalDriver::AnswerBox(QMessageBox::StandardButton button) {
    Then([this, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            Unexpected(modal);
            return;
        }
        boxes_.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                          box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)});
        QAbstractButton* pressed = box->button(button);
        if (pressed == nullptr) {
            ADD_FAILURE() << "the box has no such button: " << box->text().toStdString();
            box->reject();
            return;
        }
        pressed->click();
    });
}

void ModalDriver::Unexpected(QWidget* modal) {
    ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className() << " \""
                  << modal->windowTitle().toStdString() << "\"";
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

void ModalDriver::PollLater() {
    QTimer::singleShot(PollMilliseconds, &context_, [this] { Poll(); });
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    // The next poll is due before the step runs: a step may open a nested modal window.
    PollLater();
    if (modal == nullptr || !modal->isVisible())
        return;
    if (steps_.empty()) {
        Unexpected(modal);
        return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(modal);
}

}  // namespace inkrelay::test
