#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace shell {

// SIGTERM, SIGINT and SIGHUP (shutdown, Ctrl+C, logout) end the program through its closing
// routine (the program's is SignalClosing): the handler only writes the signal's number into
// a pipe, and a QSocketNotifier on the pipe's other end calls the routine on the event loop,
// a box's loop included. A second signal ends the program at once. One instance at a time; the
// destructor puts the previous handlers back.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // What a signal runs (on the event loop).
    void setClosingRoutine(std::function<void()> routine) { routine_ = std::move(routine); }
    bool installed() const { return notifier_ != nullptr; }

private:
    void signalArrived();

    std::function<void()> routine_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace shell
