#pragma once

#include <QStatusBar>

class QLabel;

namespace glim {

// The status bar `StatusBar1`: the product text, the current date and the current time, the
// last two kept up to date by a one-second timer.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent);

    QLabel* productPanel() const { return m_product; }
    QLabel* datePanel() const { return m_date; }
    QLabel* timePanel() const { return m_time; }

private:
    void refresh();

    QLabel* m_product;
    QLabel* m_date;
    QLabel* m_time;
};

} // namespace glim
