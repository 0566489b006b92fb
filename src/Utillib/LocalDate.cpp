#include "Utillib/LocalDate.h"

#include "Utillib/GString.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

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

namespace {

// "Mmm dd yyyy", the day padded with a space; an invalid date for anything else.
QDate parseCompilerDate(const std::string& text)
{
    static const char* const months[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    if (text.size() != 11 || text[3] != ' ' || text[6] != ' ')
        return {};
    int month = 0;
    for (int m = 0; m < 12 && !month; ++m)
        if (text.compare(0, 3, months[m]) == 0)
            month = m + 1;
    const auto digits = [&](std::size_t from, std::size_t count, bool padded) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (padded && i == from && text[i] == ' ')
                continue;
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int day = digits(4, 2, true);
    const int year = digits(7, 4, false);
    if (!month || day < 1 || year < 0)
        return {};
    return QDate(year, month, day);
}

// The format without its time-zone fields (a build time names no zone) and
// the blanks they leave.
QString withoutTimeZone(const QString& format)
{
    QString kept;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        kept += c;
    }
    return kept.simplified();
}

} // namespace

std::wstring localBuildDate(const std::string& compilerDate, const std::string& compilerTime,
                            const std::string& languageCode)
{
    const std::wstring asWritten = GString::to_wstring(compilerDate + ", " + compilerTime);
    const QLocale locale(QString::fromStdString(languageCode));
    if (languageCode.empty() || locale.language() == QLocale::C || locale.language() == QLocale::English)
        return asWritten;
    const QDate date = parseCompilerDate(compilerDate);
    const QTime time = QTime::fromString(QString::fromStdString(compilerTime), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return asWritten;
    const QString format = withoutTimeZone(locale.dateTimeFormat(QLocale::LongFormat));
    return locale.toString(QDateTime(date, time), format).toStdWString();
}

} // namespace Utillib
