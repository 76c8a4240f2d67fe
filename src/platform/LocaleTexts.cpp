#include "platform/LocaleTexts.h"

#include <QLocale>
#include <QRegularExpression>

namespace glim {

QString shortDateText(QDate date) {
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString timeText(QTime time) {
    // The locale's long time format has the seconds; some locales add the time zone to it,
    // which a clock reading leaves out.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.replace(zone, QStringLiteral(" "));
    return QLocale::system().toString(time, format.trimmed());
}

} // namespace glim
