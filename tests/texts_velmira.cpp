// The calculator's sample texts, one per translation context, for tst_texts.
#include "textsamples.h"

#include "aboutbox.h"
#include "calculationwarning.h"
#include "conclusion.h"
#include "conclusioncopy.h"
#include "diameter.h"
#include "editedcells.h"
#include "figureprovenance.h"
#include "probabilityrule.h"
#include "statisticsdiagnosis.h"
#include "statisticstexts.h"

#include <QAction>
#include <QLineEdit>
#include <QWidget>

namespace {

QString strictureProvenance()
{
    CalculationResult result;
    result.basis = CalculationResult::Basis::Stricture;
    return figureProvenance(result, SheathSize::Ch10To12, QString(), QString());
}

QString emptyDiameterWarning()
{
    CalculationResult result;
    result.outcome = CalculationResult::Outcome::InvalidDiameter;
    result.invalidDiameter = 1;
    return CalculationWarning::text(result, CalculationInput(), StatisticsDiagnosis());
}

// The result field's action that copies the conclusion.
QString conclusionCopyText()
{
    QWidget page;
    QLineEdit result(&page);
    const ConclusionCopy copy(&result, &page, nullptr, nullptr);
    return copy.action()->text();
}

} // namespace

QMap<QString, TextSample> textSamples()
{
    return {
        {QStringLiteral("AboutBox"), {aboutTitle, QStringLiteral("Об авторах")}},
        {QStringLiteral("CalculationWarning"),
         {emptyDiameterWarning, QStringLiteral("Не указан %1 диаметр мочеточника.")}},
        {QStringLiteral("Conclusion"),
         {[] { return Conclusion::text(ConclusionFacts()); }, QStringLiteral("Основание")}},
        {QStringLiteral("ConclusionCopy"),
         {conclusionCopyText, QStringLiteral("Копировать заключение")}},
        {QStringLiteral("DiameterTexts"), {diameterRangeText, QStringLiteral("от %1 до %2 мм")}},
        {QStringLiteral("FigureProvenance"),
         {strictureProvenance, QStringLiteral("Отмечено наличие стриктуры: %1 %")}},
        {QStringLiteral("StatisticsTexts"),
         {[] { return StatisticsTexts::loadCause(StatisticsDiagnosis()); },
          QStringLiteral("файл не найден в этой папке. Программа ищет файлы статистики в "
                         "папке, из которой её запустили.")}},
        {QStringLiteral("Velmira"),
         {editedCellToolTip, QStringLiteral("Изменено в этом сеансе; файл не меняется")}},
    };
}
