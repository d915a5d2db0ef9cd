#include "celltext.h"

#include <QDate>
#include <QLocale>

#include <cmath>
#include <cstdio>

namespace {

constexpr int SignificantDigits = 15;
constexpr int LowestPlainExponent = -15;
constexpr int HighestPlainExponent = 20;

// The last serial day each system has: the 31st of December 9999.
constexpr double LastSerial1900 = 2958465;
constexpr double LastSerial1904 = 2957003;
constexpr qint64 JulianDay1899_12_30 = 2415019;
constexpr qint64 JulianDay1904_01_01 = 2416481;

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Digits "d1d2d3..." (no leading or trailing zeros) scaled by 10^exponent of
// the first: the plain decimal text, or the scientific one out of range.
QString placeDigits(bool negative, const QString &digits, int exponent)
{
    QString text;
    if (negative)
        text += QLatin1Char('-');
    if (exponent < LowestPlainExponent || exponent > HighestPlainExponent) {
        text += digits.at(0);
        if (digits.size() > 1)
            text += QLatin1Char('.') + digits.mid(1);
        text += QString::asprintf("E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return text;
    }
    if (exponent < 0)
        return text + QLatin1String("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    if (digits.size() <= exponent + 1)
        return text + digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    return text + digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
}

// Where the significant digits of a plain decimal "-12.50" are.
struct PlainDecimal {
    bool negative = false;
    int start = 0; // after the sign
    int point = 0; // the point's index, or the text's end without one
    int first = -1; // the first and last digit other than 0, -1 when none
    int last = -1;

    int significantDigits() const
    {
        return first < 0 ? 0 : last - first + 1 - (first < point && point < last ? 1 : 0);
    }
    int exponent() const
    {
        return first < 0 ? 0 : first < point ? point - first - 1 : point - first;
    }
};

// False when the text is not a plain decimal: digits, at most one point, a minus.
bool readPlainDecimal(QStringView text, PlainDecimal &decimal)
{
    decimal.negative = !text.isEmpty() && text.at(0) == QLatin1Char('-');
    decimal.start = decimal.negative ? 1 : 0;
    decimal.point = -1;
    for (int i = decimal.start; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.') && decimal.point < 0) {
            decimal.point = i;
        } else if (!isDigit(c)) {
            return false;
        } else if (c != QLatin1Char('0')) {
            if (decimal.first < 0)
                decimal.first = i;
            decimal.last = i;
        }
    }
    const int length = text.size() - decimal.start;
    if (length == 0 || (decimal.point >= 0 && length == 1))
        return false;
    if (decimal.point < 0)
        decimal.point = text.size();
    return true;
}

// Already as the spreadsheet shows it: no leading zero but the one before a
// point, no trailing zero after it, no bare point, no "-0".
bool isShownForm(QStringView text, const PlainDecimal &decimal)
{
    const int integerDigits = decimal.point - decimal.start;
    if (integerDigits == 0 || (integerDigits > 1 && text.at(decimal.start) == QLatin1Char('0')))
        return false;
    if (decimal.point < text.size() && decimal.last < decimal.point + 1)
        return false;
    if (decimal.point < text.size() && decimal.last != text.size() - 1)
        return false;
    return decimal.first >= 0 || !decimal.negative;
}

QString shownDigits(QStringView text, const PlainDecimal &decimal)
{
    QString digits;
    for (int i = decimal.first; i <= decimal.last; ++i) {
        if (i != decimal.point)
            digits += text.at(i);
    }
    return digits;
}

bool readDouble(QStringView text, double &value)
{
    static const QLocale c = [] {
        QLocale locale = QLocale::c();
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        return locale;
    }();
    bool ok = false;
    value = c.toDouble(text, &ok);
    return ok && std::isfinite(value);
}

// "yyyy-mm-dd", written digit by digit: a log has a date in every row.
QString dayText(qint64 julianDay)
{
    int year = 0, month = 0, day = 0;
    QDate::fromJulianDay(julianDay).getDate(&year, &month, &day);
    QString text(10, QLatin1Char('-'));
    QChar *out = text.data();
    const auto put = [](QChar *at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            at[i] = QLatin1Char(char('0' + value % 10));
    };
    put(out, year, 4);
    put(out + 5, month, 2);
    put(out + 8, day, 2);
    return text;
}

// The digits of a text "12" at a position, moving it past them; -1 when none.
double durationField(QStringView text, int &at)
{
    const int start = at;
    while (at < text.size() && (isDigit(text.at(at)) || text.at(at) == QLatin1Char('.')))
        ++at;
    double value = 0;
    if (at == start || !readDouble(text.mid(start, at - start), value))
        return -1;
    return value;
}

} // namespace

QString CellText::number(const QString &stored)
{
    PlainDecimal decimal;
    if (readPlainDecimal(stored, decimal) && decimal.significantDigits() <= SignificantDigits
        && decimal.exponent() >= LowestPlainExponent && decimal.exponent() <= HighestPlainExponent
        && isShownForm(stored, decimal))
        return stored;
    return number(QStringView(stored));
}

QString CellText::number(QStringView stored)
{
    // Most numbers are stored as they are shown: no conversion at all.
    PlainDecimal decimal;
    if (readPlainDecimal(stored, decimal) && decimal.significantDigits() <= SignificantDigits
        && decimal.exponent() >= LowestPlainExponent
        && decimal.exponent() <= HighestPlainExponent) {
        if (isShownForm(stored, decimal))
            return stored.toString();
        if (decimal.first < 0)
            return QStringLiteral("0");
        return placeDigits(decimal.negative, shownDigits(stored, decimal), decimal.exponent());
    }
    double value = 0;
    if (!readDouble(stored, value))
        return stored.toString();
    return fromDouble(value);
}

QString CellText::fromDouble(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    // "-1.23450000000000e+00": the mantissa's 15 digits and the exponent.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", SignificantDigits - 1, value);
    const QString text = QString::fromLatin1(buffer);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const int ePosition = text.indexOf(QLatin1Char('e'));
    QString digits = text.mid(negative ? 1 : 0, ePosition - (negative ? 1 : 0));
    digits.remove(QLatin1Char('.'));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    return placeDigits(negative, digits, text.mid(ePosition + 1).toInt());
}

QString CellText::serialDate(QStringView stored, bool date1904)
{
    double serial = 0;
    if (!readDouble(stored, serial))
        return stored.toString();
    const double first = date1904 ? 0 : 1;
    if (serial < first || serial >= (date1904 ? LastSerial1904 : LastSerial1900) + 1)
        return number(stored);
    const auto day = qint64(std::floor(serial));
    if (date1904)
        return dayText(JulianDay1904_01_01 + day);
    if (day == 60)
        return QStringLiteral("1900-02-29");
    // Before the day that never was, serial days count from the 31st of December 1899.
    return dayText(JulianDay1899_12_30 + day + (day < 60 ? 1 : 0));
}

QString CellText::isoDay(QStringView stored)
{
    const int t = stored.indexOf(QLatin1Char('T'));
    return (t < 0 ? stored : stored.left(t)).toString();
}

QString CellText::duration(QStringView stored)
{
    int at = stored.startsWith(QLatin1Char('-')) ? 1 : 0;
    const bool negative = at == 1;
    if (!stored.mid(at).startsWith(QLatin1String("PT")))
        return stored.toString();
    at += 2;
    double seconds = 0;
    while (at < stored.size()) {
        const double value = durationField(stored, at);
        if (value < 0 || at >= stored.size())
            return stored.toString();
        const QChar unit = stored.at(at++);
        if (unit == QLatin1Char('H'))
            seconds += value * 3600;
        else if (unit == QLatin1Char('M'))
            seconds += value * 60;
        else if (unit == QLatin1Char('S'))
            seconds += value;
        else
            return stored.toString();
    }
    return fromDouble((negative ? -seconds : seconds) / 86400.0);
}

QString CellText::logical(bool value)
{
    return value ? QStringLiteral("ИСТИНА") : QStringLiteral("ЛОЖЬ");
}
