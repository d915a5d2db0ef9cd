#include "figureprovenance.h"

#include "diameter.h"
#include "probabilityrule.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Velmira", text);
}

QString boundText(const CalculationResult &result, SheathSize sheath)
{
    const QChar comparison = result.basis == CalculationResult::Basis::UpperBound
        ? QChar(0x2265) // ≥
        : QChar(0x2264); // ≤
    return tr("Наименьший диаметр %1 мм %2 %3 мм (%4): %5 %")
        .arg(result.minimumText, comparison, twoDecimalText(result.bound), sheathName(sheath),
             QString::number(result.figure));
}

QString tableText(const CalculationResult &result, SheathSize sheath, const QString &tableFile,
                  const QString &note)
{
    // The row as numbered on the statistics page, which counts from 1.
    QString text = tr("Таблица %1 (%2), строка %3: %4 → %5 %")
                       .arg(sheathName(sheath), tableFile, QString::number(result.tableRow + 1),
                            result.rowDiameter, result.rowPercentage);
    if (result.rowEdited)
        text += QLatin1Char('\n')
            + tr("Строка изменена в этом сеансе на вкладке «Статистика»; файл не менялся.");
    if (!note.isEmpty())
        text += QLatin1Char('\n') + note;
    return text;
}

} // namespace

QString figureProvenance(const CalculationResult &result, SheathSize sheath,
                         const QString &tableFile, const QString &note)
{
    if (!result.hasFigure())
        return {};
    switch (result.basis) {
    case CalculationResult::Basis::Stricture:
        return tr("Отмечено наличие стриктуры: %1 %").arg(result.figure);
    case CalculationResult::Basis::UpperBound:
    case CalculationResult::Basis::LowerBound:
        return boundText(result, sheath);
    case CalculationResult::Basis::Table:
        return tableText(result, sheath, tableFile, note);
    case CalculationResult::Basis::None:
        break;
    }
    return {};
}
