#include "app/StatusPanels.h"

#include "platform/LocaleTexts.h"

#include <QDateTime>
#include <QLabel>
#include <QTimer>

namespace glim {

namespace {
// The date and time panels are 2540 twips wide each: 169 pixels at 15 twips a pixel.
constexpr int kClockPanelWidth = 169;
} // namespace

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent)
    , m_product(new QLabel(QStringLiteral("Zivra Glimwell 1.0 - screenshots that stay"), this))
    , m_date(new QLabel(this))
    , m_time(new QLabel(this)) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    m_product->setObjectName(QStringLiteral("panel1"));
    m_date->setObjectName(QStringLiteral("panel2"));
    m_time->setObjectName(QStringLiteral("panel3"));
    m_date->setFixedWidth(kClockPanelWidth);
    m_time->setFixedWidth(kClockPanelWidth);
    addWidget(m_product, 1);
    addPermanentWidget(m_date);
    addPermanentWidget(m_time);
    refresh();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &StatusPanels::refresh);
    clock->start(1000);
}

void StatusPanels::refresh() {
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setText(shortDateText(now.date()));
    m_time->setText(timeText(now.time()));
}

} // namespace glim
