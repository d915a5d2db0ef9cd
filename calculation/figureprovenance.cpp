#include "figureprovenance.h"

#include "diameter.h"
#include "probabilityrule.h"

#include <QCoreApplication>

namespace {

// The texts' translation context.
class FigureProvenance {
    Q_DECLARE_TR_FUNCTIONS(FigureProvenance)

public:
    // In words, not with ≥ and ≤: a record system that keeps Windows-1251
    // would turn those into "?", and the record would no longer say which
    // bound decided.
    static QString boundText(const CalculationResult &result, SheathSize sheath)
    {
        if (result.basis == CalculationResult::Basis::UpperBound)
            return tr("Наименьший диаметр %1 мм не меньше верхней границы %2 мм для кожуха %3: "
                      "%4 %")
                .arg(result.minimumText, twoDecimalText(result.bound), sheathName(sheath),
                     QString::number(result.figure));
        return tr("Наименьший диаметр %1 мм не больше нижней границы %2 мм для кожуха %3: %4 %")
            .arg(result.minimumText, twoDecimalText(result.bound), sheathName(sheath),
                 QString::number(result.figure));
    }

    static QString tableText(const CalculationResult &result, SheathSize sheath,
                             const QString &tableFile)
    {
        // The row as numbered on the statistics page, which counts from 1.
        return tr("Таблица %1 (%2), строка %3: %4 мм — %5 %")
            .arg(sheathName(sheath), tableFile, QString::number(result.tableRow + 1),
                 result.rowDiameter, result.rowPercentage);
    }

    static QString editedText()
    {
        return tr("Строка изменена в этом сеансе на вкладке «Статистика»; файл не менялся.");
    }

    static QString disagreementText()
    {
        return tr("Счётчики случаев в этой строке файла не согласуются с её процентом.");
    }

    static QString strictureText(int figure)
    {
        return tr("Отмечено наличие стриктуры: %1 %").arg(figure);
    }

    static QString evidenceText(const RowCounts &evidence)
    {
        if (evidence.isInterpolated())
            return tr("; в этой строке нет наблюдений: значение интерполировано по соседним "
                      "строкам");
        QString text = tr("; n = %1 (установлено %2), 95 % ДИ %3–%4 %")
                           .arg(evidence.blockCases)
                           .arg(evidence.blockPlaced)
                           .arg(evidence.intervalLow)
                           .arg(evidence.intervalHigh);
        if (evidence.blockFrom != evidence.blockTo)
            text += tr(", объединены %1–%2 мм").arg(evidence.blockFrom, evidence.blockTo);
        if (evidence.blockCases < FewCases)
            text += tr(", мало наблюдений");
        return text + clippedText(evidence);
    }

private:
    // The fit never goes below or above the fixed bounds' figures, so a block
    // whose own rate lies beyond them shows less than its cases say.
    static QString clippedText(const RowCounts &evidence)
    {
        const double own = evidence.blockPercent();
        const int shown = evidence.blockCases > 0
            ? wholePercent(double(evidence.blockPlaced) / evidence.blockCases)
            : 0;
        if (own < LowerBoundFigure)
            return tr("; доля в блоке %1 %, но таблица не опускается ниже фиксированных %2 %")
                .arg(shown)
                .arg(LowerBoundFigure);
        if (own > UpperBoundFigure)
            return tr("; доля в блоке %1 %, но таблица не поднимается выше фиксированных %2 %")
                .arg(shown)
                .arg(UpperBoundFigure);
        return {};
    }
};

} // namespace

QString figureProvenance(const CalculationResult &result, SheathSize sheath,
                         const QString &tableFile, const QString &note, const RowEvidence &evidence)
{
    if (!result.hasFigure())
        return {};
    switch (result.basis) {
    case CalculationResult::Basis::Stricture:
        return FigureProvenance::strictureText(result.figure);
    case CalculationResult::Basis::UpperBound:
    case CalculationResult::Basis::LowerBound:
        return FigureProvenance::boundText(result, sheath);
    case CalculationResult::Basis::Table:
        break;
    case CalculationResult::Basis::None:
        return {};
    }
    QString text = FigureProvenance::tableText(result, sheath, tableFile);
    if (evidence.counts && !result.rowEdited)
        text += FigureProvenance::evidenceText(*evidence.counts);
    if (evidence.disagrees() && !result.rowEdited)
        text += QLatin1Char('\n') + FigureProvenance::disagreementText();
    if (result.rowEdited)
        text += QLatin1Char('\n') + FigureProvenance::editedText();
    if (!note.isEmpty())
        text += QLatin1Char('\n') + note;
    return text;
}

QString countsDisagreementText()
{
    return FigureProvenance::disagreementText();
}
