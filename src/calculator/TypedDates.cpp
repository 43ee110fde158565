#include "calculator/TypedDates.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

namespace vorn {
namespace {

// Reading takes one digit or two for a numbered day or month, whichever the format writes.
QString lenient(QString format)
{
    static const QRegularExpression twoDigitDay(QStringLiteral("(?<!d)dd(?!d)"));
    static const QRegularExpression twoDigitMonth(QStringLiteral("(?<!M)MM(?!M)"));
    return format.replace(twoDigitDay, QStringLiteral("d")).replace(twoDigitMonth, QStringLiteral("M"));
}

} // namespace

QString shortDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString shownDate(const std::string& isoDate, const QLocale& locale)
{
    const std::optional<CalendarDay> day = dayFromIsoDate(isoDate);
    if (!day)
        return QString::fromStdString(isoDate);
    return locale.toString(QDate(day->year, day->month, day->day), shortDateFormat(locale));
}

CalendarDay typedDay(const QString& typed, const QLocale& locale)
{
    const QString text = typed.trimmed();
    QDate date = locale.toDate(text, lenient(shortDateFormat(locale)));
    if (!date.isValid()) {
        // Qt reads a two-digit year as one of the 1900s.
        const QString narrow = locale.dateFormat(QLocale::ShortFormat);
        if (!narrow.contains(QLatin1String("yyyy")))
            date = locale.toDate(text, lenient(narrow)).addYears(100);
    }
    if (!date.isValid())
        date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid())
        return {};
    return {date.year(), date.month(), date.day()};
}

DateOrder dateOrder(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(QLatin1Char('d'));
    const qsizetype month = format.indexOf(QLatin1Char('M'));
    const qsizetype year = format.indexOf(QLatin1Char('y'));
    if (year >= 0 && year < day && year < month)
        return DateOrder::YearMonthDay;
    return month >= 0 && month < day ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
}

} // namespace vorn
