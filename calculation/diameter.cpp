#include "diameter.h"

#include <QLocale>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

std::optional<double> readDiameter(const QString &text)
{
    // The comma made a point in a copy on the stack: a case log has three
    // diameters in every row, and a copy on the heap cost as much as reading them.
    QVarLengthArray<QChar, 32> normalised;
    normalised.append(text.constData(), int(text.size()));
    std::replace(normalised.begin(), normalised.end(), QChar(QLatin1Char(',')),
                 QChar(QLatin1Char('.')));

    // The C locale, as QString::toDouble reads, so that the result does not
    // depend on the machine's language settings.
    static const QLocale cLocale = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    bool ok = false;
    const double value
        = cLocale.toDouble(QStringView(normalised.constData(), normalised.size()), &ok);
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
