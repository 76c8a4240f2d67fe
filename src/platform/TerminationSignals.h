#pragma once

#include <QObject>

class QSocketNotifier;

namespace glim {

// Turns the system's requests to end the process (a logout, `kill`, Ctrl+C in a terminal) into
// one Qt signal delivered by the event loop, so that the program ends through its own Exit
// instead of dying with its temporary pictures left behind. A signal the process was started
// ignoring (SIGHUP under `nohup`) stays ignored. One object per process: the handlers are
// process-wide, and a second object stays inert.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the handlers could not be installed; the system's defaults then apply.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    // The first request to end; later ones are swallowed while the program ends.
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
    bool m_requested = false;
};

} // namespace glim
