#pragma once

#include "screenshots/ViewerRules.h"

#include <QObject>

class QScrollBar;

namespace glim {

// One of the viewer's scroll bars: its values follow the 16-bit rules of ScrollBarState (Max
// may lie below Min), and the QScrollBar only shows them and takes the user's clicks and drags.
// valueChanged() is raised whenever Value really changes, by the user or by the program,
// and never when Value is set to the value it has.
class ViewerScrollBar : public QObject {
    Q_OBJECT
public:
    explicit ViewerScrollBar(QScrollBar* bar);

    QScrollBar* widget() const { return m_bar; }
    const ScrollBarState& state() const { return m_state; }
    int value() const { return m_state.value(); }
    // The bar's length along its direction, in pixels.
    int length() const;

    void setMin(long long min);
    void setMax(long long max);
    void setValue(long long value);
    void setSteps(int smallChange, int largeChange);
    void setEnabled(bool enabled);

signals:
    void valueChanged(int value);

private:
    void show();
    void fromUser(int value);

    QScrollBar* m_bar;
    ScrollBarState m_state;
};

} // namespace glim
