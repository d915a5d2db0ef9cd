#include "plainnumber.h"

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSeparator(QChar c, bool commaToo)
{
    return c == QLatin1Char('.') || (commaToo && c == QLatin1Char(','));
}

} // namespace

std::optional<PlainNumber> readPlainNumber(QStringView text, bool commaToo)
{
    constexpr int MaxPlainLength = 15;
    const int size = int(text.size());
    int integer = 0;
    while (integer < size && isAsciiDigit(text.at(integer)))
        ++integer;
    if (integer == 0 || size > MaxPlainLength)
        return std::nullopt;
    if (integer < size && (!isSeparator(text.at(integer), commaToo) || integer + 1 == size))
        return std::nullopt;
    PlainNumber number;
    for (int i = integer + 1; i < size; ++i) {
        if (!isAsciiDigit(text.at(i)))
            return std::nullopt;
        number.fractionZero = number.fractionZero && text.at(i) == QLatin1Char('0');
    }
    for (int i = 0; i < integer; ++i)
        number.whole = number.whole * 10 + (text.at(i).unicode() - '0');
    return number;
}
