#include "logcells.h"

#include "diameter.h"

#include <QStringList>

namespace {

enum class Plain { Valid, Invalid, Unknown };

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The plain forms a log holds ("1,52", "2"), judged exactly as the general
// reading below would judge them but without copying the text: a log has
// three per row. Short, so that no digit is lost to rounding near 10.
Plain plainDiameter(QStringView text)
{
    constexpr int MaxPlainLength = 15;
    const int size = int(text.size());
    int integer = 0;
    while (integer < size && isAsciiDigit(text.at(integer)))
        ++integer;
    if (integer == 0 || size > MaxPlainLength)
        return Plain::Unknown;
    int fraction = integer;
    if (integer < size) {
        if ((text.at(integer) != QLatin1Char('.') && text.at(integer) != QLatin1Char(','))
            || integer + 1 == size)
            return Plain::Unknown;
        for (fraction = integer + 1; fraction < size; ++fraction) {
            if (!isAsciiDigit(text.at(fraction)))
                return Plain::Unknown;
        }
    }
    qint64 whole = 0;
    for (int i = 0; i < integer; ++i)
        whole = whole * 10 + (text.at(i).unicode() - '0');
    bool fractionZero = true;
    for (int i = integer + 1; i < size; ++i)
        fractionZero = fractionZero && text.at(i) == QLatin1Char('0');
    const bool positive = whole > 0 || !fractionZero;
    const bool atMostMax
        = whole < qint64(MaxLogDiameter) || (whole == qint64(MaxLogDiameter) && fractionZero);
    return positive && atMostMax ? Plain::Valid : Plain::Invalid;
}

} // namespace

std::optional<double> readLogDiameter(const QString &cell)
{
    // The calculator's own reading, so that a log's diameter means what the
    // same text typed into the calculator means; only the upper limit is the log's.
    const std::optional<double> diameter = readDiameter(cell.trimmed());
    if (!diameter || *diameter > MaxLogDiameter)
        return std::nullopt;
    return diameter;
}

bool isLogDiameter(const QString &cell)
{
    const Plain plain = plainDiameter(QStringView(cell).trimmed());
    if (plain != Plain::Unknown)
        return plain == Plain::Valid;
    return readLogDiameter(cell).has_value();
}

std::optional<SheathSize> readLogSheath(const QString &cell)
{
    // The interface's own names first: nearly every row of a log holds one.
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        if (cell == sheathName(sheath))
            return sheath;
    }
    QString key = cell.toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QChar(0x00A0));
    for (const char *unit : {"ch", "fr"}) {
        if (key.endsWith(QLatin1String(unit)))
            key.chop(2);
    }
    key.replace(QLatin1Char('/'), QLatin1Char('-'));
    key.replace(QChar(0x2013), QLatin1Char('-')); // an en dash, as word processors correct it
    if (key == QLatin1String("10-12"))
        return SheathSize::Ch10To12;
    if (key == QLatin1String("12-14"))
        return SheathSize::Ch12To14;
    return std::nullopt;
}

std::optional<bool> readLogYesNo(const QString &cell)
{
    // Compared in place: two of these cells in every row.
    const QStringView key = QStringView(cell).trimmed();
    const auto is = [key](QStringView word) {
        return key.size() == word.size() && key.compare(word, Qt::CaseInsensitive) == 0;
    };
    if (is(u"да") || is(u"yes") || is(u"1"))
        return true;
    if (is(u"нет") || is(u"no") || is(u"0"))
        return false;
    return std::nullopt;
}

namespace {

// A run of 1 to maxDigits digits from position, or -1; position moves past it.
int number(const QString &text, int &position, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (position < text.size() && digits < maxDigits && text.at(position).isDigit()
           && text.at(position).unicode() < 128) {
        value = value * 10 + (text.at(position++).unicode() - '0');
        ++digits;
    }
    return digits > 0 ? value : -1;
}

bool separator(const QString &text, int &position, char mark)
{
    if (position >= text.size() || text.at(position) != QLatin1Char(mark))
        return false;
    ++position;
    return true;
}

} // namespace

// Read by hand rather than by QDate::fromString, whose parser consults the
// system's time zone files on every call: a million rows took minutes.
std::optional<QDate> readLogDate(const QString &cell)
{
    const QString text = cell.trimmed();
    int position = 0;
    const int first = number(text, position, 4);
    int day = 0, month = 0, year = 0;
    if (position == 4 && separator(text, position, '-')) { // yyyy-mm-dd
        year = first;
        month = number(text, position, 2);
        if (position != 7 || !separator(text, position, '-'))
            return std::nullopt;
        day = number(text, position, 2);
        if (position != 10)
            return std::nullopt;
    } else if (position <= 2 && separator(text, position, '.')) { // d.m.yyyy
        day = first;
        month = number(text, position, 2);
        const int yearStart = position + 1;
        if (!separator(text, position, '.'))
            return std::nullopt;
        year = number(text, position, 4);
        if (position - yearStart != 4)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (position != text.size() || !date.isValid())
        return std::nullopt;
    return date;
}
