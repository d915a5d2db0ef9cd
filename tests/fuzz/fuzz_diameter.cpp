// Feeds arbitrary text to readDiameter(), the bytes read both as UTF-8 and as
// Latin-1, and aborts when a property that must hold for every text is broken.

#include "diameter.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

void require(bool condition, const char *what, const QString &text)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz_diameter: %s for \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

bool sameResult(const std::optional<double> &a, const std::optional<double> &b)
{
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

void checkText(const QString &text)
{
    const std::optional<double> number = readDiameterNumber(text);
    const std::optional<double> diameter = readDiameter(text);
    if (number)
        require(std::isfinite(*number), "a number that is not finite", text);
    // A diameter is the number, where it lies in the range a ureter can measure.
    const bool inRange = number && *number >= SmallestDiameter && *number <= LargestDiameter;
    require(sameResult(diameter, inRange ? number : std::nullopt), "a diameter unlike its number",
            text);

    // Without a comma the text is read exactly as QString::toDouble reads it,
    // as far as a usable number comes out.
    if (!text.contains(QLatin1Char(','))) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        const bool usable = ok && std::isfinite(value);
        require(usable == number.has_value(), "accepted differently from toDouble", text);
        if (usable)
            require(*number == value, "a value that differs from toDouble's", text);
    }

    // A comma is a decimal point and nothing else.
    QString dotted = text;
    dotted.replace(QLatin1Char(','), QLatin1Char('.'));
    require(sameResult(readDiameter(dotted), diameter), "a comma reads unlike a point", text);
    require(sameResult(readDiameterNumber(dotted), number), "a comma reads unlike a point", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    checkText(QString::fromUtf8(bytes));
    checkText(QString::fromLatin1(bytes));
    return 0;
}
