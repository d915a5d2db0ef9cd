#include "statisticsrow.h"

#include "plainnumber.h"

#include <cmath>

namespace {

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
    // A plain number is always finite.
    if (readPlainNumber(text, false))
        return true;
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
