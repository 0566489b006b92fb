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
    QDate day(number(0, 4), number(5, 2), number(8, 2));
    if (!day.isValid())
        return {};
    return GString::to_string(QLocale().toString(day, QLocale::ShortFormat).toStdWString());
}

} // namespace Utillib
