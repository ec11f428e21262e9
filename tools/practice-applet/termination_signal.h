#pragma once
// SIGTERM and SIGINT as a Qt signal. The handler only writes a byte to a pipe; a socket notifier
// reads it in the event loop, where Qt may be called.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace inkrelay::practice {

class TerminationSignal final : public QObject {
    Q_OBJECT

  public:
    // One at a time. std::runtime_error when the pipe or the handlers cannot be set up.
    TerminationSignal();
    ~TerminationSignal() override;
    TerminationSignal(const TerminationSignal&) = delete;
    TerminationSignal& operator=(const TerminationSignal&) = delete;

  signals:
    void Received();

  private:
    void Release();
    void Drain();

    int readFd_ = -1;
    int writeFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace inkrelay::practice
