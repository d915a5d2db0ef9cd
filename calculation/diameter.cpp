#include "diameter.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace {

// The texts' translation context.
class DiameterTexts {
    Q_DECLARE_TR_FUNCTIONS(DiameterTexts)
};

} // namespace

std::optional<double> readDiameterNumber(const QString &text)
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
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> readDiameter(const QString &text)
{
    const std::optional<double> value = readDiameterNumber(text);
    if (!value || *value < SmallestDiameter || *value > LargestDiameter)
        return std::nullopt;
    return value;
}

QString diameterAsEntered(const QString &text)
{
    QString entered = text.trimmed();
    entered.replace(QLatin1Char(','), QLatin1Char('.'));
    return entered;
}

QString diameterRangeText()
{
    return DiameterTexts::tr("от %1 до %2 мм")
        .arg(QString::number(SmallestDiameter), QString::number(LargestDiameter));
}

QString twoDecimalText(double diameter)
{
    QString text;
    text.setNum(diameter, 'f', 2);
    return text;
}
