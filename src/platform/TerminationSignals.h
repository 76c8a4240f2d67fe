#pragma once

#include <QObject>

class QSocketNotifier;

namespace glim {

// Turns the system's requests to end the process (a logout, `kill`, Ctrl+C in a terminal) into
// one Qt signal delivered by the event loop, so that the program ends through its own Exit
// instead of dying with its temporary pictures left behind. A signal the process was started
// ignoring (SIGHUP under `nohup`) stays ignored. One object per process: the handlers are
// process-wide, and a second object stays inert. Without a pipe the system's defaults apply.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // While held, requests are caught and kept, and come as one signal when delivery resumes:
    // the handlers can be in place before the program shows itself, and the Exit that a
    // request runs waits until the program has started.
    void setHeld(bool held);

signals:
    // The system asks the process to end (requests that arrive together come as one).
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace glim
