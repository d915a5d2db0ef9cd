#include "diameter.h"

#include <cmath>

std::optional<double> readDiameter(const QString &text)
{
    QString normalised = text;
    normalised.replace(QLatin1Char(','), QLatin1Char('.'));

    // QString::toDouble always reads the C locale, so the result does not depend
    // on the machine's language settings.
    bool ok = false;
    const double value = normalised.toDouble(&ok);
    if (!ok || !std::isfinite(value) || !(value > 0.0))
        return std::nullopt;
    return value;
}

QString twoDecimalText(double diameter)
{
    QString text;
    text.setNum(diameter, 'f', 2);
    return text;
}
