#include "statisticslookup.h"

#include "diameter.h"

#include <QAbstractItemModel>

#include <cmath>

namespace {

// Two numbers that render to the same two-decimal text lie within about a
// hundredth of each other. Rows farther away than this cannot match, so the
// costly formatting is skipped for them; the text comparison still decides.
constexpr double MatchWindow = 0.02;

bool rendersLike(const QVariant &diameterCell, double minimum, const QString &minimumText)
{
    if (!diameterCell.isValid())
        return false;
    const double diameter = diameterCell.toString().toDouble();
    // Written so that NaN fails too: its text "nan" never equals a number's.
    if (!(std::abs(diameter - minimum) < MatchWindow))
        return false;
    return twoDecimalText(diameter) == minimumText;
}

std::optional<int> readPercentageText(const QString &text)
{
    bool ok = false;
    const int percentage = text.toInt(&ok, 10);
    if (!ok || percentage < 0 || percentage > 100)
        return std::nullopt;
    return percentage;
}

// Loading judges every row of a file, and the general number parsers copy the
// text before they read it. The plain forms a clinic writes are answered here
// directly, the same way the parsers would; anything else goes to them.
enum class Plain { Usable, Unusable, Unknown };

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// "1", "1.44": a finite number. Short, so that no overflow can arise.
Plain plainDiameter(const QString &text)
{
    constexpr int MaxPlainLength = 16;
    const int size = int(text.size());
    int digits = 0;
    while (digits < size && isDigit(text.at(digits)))
        ++digits;
    if (digits == 0 || size > MaxPlainLength)
        return Plain::Unknown;
    if (digits == size)
        return Plain::Usable;
    if (text.at(digits) != QLatin1Char('.') || digits + 1 == size)
        return Plain::Unknown;
    for (int i = digits + 1; i < size; ++i) {
        if (!isDigit(text.at(i)))
            return Plain::Unknown;
    }
    return Plain::Usable;
}

// One to three digits: usable exactly when at most 100, as toInt would find.
Plain plainPercentage(const QString &text)
{
    const int size = int(text.size());
    if (size < 1 || size > 3)
        return Plain::Unknown;
    int value = 0;
    for (const QChar c : text) {
        if (!isDigit(c))
            return Plain::Unknown;
        value = value * 10 + (c.unicode() - '0');
    }
    return value <= 100 ? Plain::Usable : Plain::Unusable;
}

bool isUsableDiameter(const QString &text)
{
    const Plain plain = plainDiameter(text);
    if (plain != Plain::Unknown)
        return plain == Plain::Usable;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool isUsablePercentage(const QString &text)
{
    const Plain plain = plainPercentage(text);
    if (plain != Plain::Unknown)
        return plain == Plain::Usable;
    return readPercentageText(text).has_value();
}

} // namespace

std::optional<int> readPercentage(const QVariant &cell)
{
    if (!cell.isValid())
        return std::nullopt;
    return readPercentageText(cell.toString());
}

bool isUsableRow(const QString &diameter, const QString &percentage)
{
    return isUsableDiameter(diameter) && isUsablePercentage(percentage);
}

std::optional<StatisticsMatch> findStatisticsRow(const QAbstractItemModel &table, double minimum)
{
    const QString minimumText = twoDecimalText(minimum);
    // Walking backwards finds the last usable matching row first.
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        if (!rendersLike(table.index(row, 0).data(), minimum, minimumText))
            continue;
        if (const std::optional<int> percentage = readPercentage(table.index(row, 1).data()))
            return StatisticsMatch {row, *percentage};
    }
    return std::nullopt;
}

std::optional<int> lookUpProbability(const QAbstractItemModel &table, double minimum)
{
    if (const std::optional<StatisticsMatch> match = findStatisticsRow(table, minimum))
        return match->figure;
    return std::nullopt;
}
