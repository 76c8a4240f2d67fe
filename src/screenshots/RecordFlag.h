#pragma once

namespace glim {

// The record flag `chch`: on means that the next picture assigned to the viewer's picture box
// is a new screenshot. The application holds it for the life of the process, so that the
// capture windows reach it without loading the main window; a freshly loaded main window
// starts with it off.
class RecordFlag {
public:
    bool isOn() const { return m_on; }
    void set(bool on) { m_on = on; }

private:
    bool m_on = false;
};

} // namespace glim
