#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace glim {

// Dates and times as the user's locale writes them: the short date, and the time with hours,
// minutes and seconds (no time zone).
QString shortDateText(QDate date);
QString timeText(QTime time);

} // namespace glim
