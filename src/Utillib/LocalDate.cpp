#include "Utillib/LocalDate.h"

#include "Utillib/GString.h"

#include <QDate>
#include <QLocale>

namespace Utillib {

std::string toLocalDate(const std::string& date)
{
    if (date.size() < 10)
        return {};
    auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (date[i] < '0' || date[i] > '9')
                return -1;
            value = value * 10 + (date[i] - '0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int dayOfMonth = number(8, 2);
    // A field that is not a number rejects the date (a year of -1 would be a valid one).
    if (year < 0 || month < 0 || dayOfMonth < 0)
        return {};
    QDate day(year, month, dayOfMonth);
    if (!day.isValid())
        return {};
    // Month or day names would come in the system's language, which need not
    // be the one the program speaks (a German catalogue on an English or
    // plain system): such a format gives way to the numeric year-month-day.
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (format.contains(QStringLiteral("MMM")) || format.contains(QStringLiteral("ddd")))
        format = QStringLiteral("yyyy-MM-dd");
    return GString::to_string(locale.toString(day, format).toStdWString());
}

} // namespace Utillib
