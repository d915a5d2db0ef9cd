#include "calculationwarning.h"

#include "diameter.h"
#include "probabilityrule.h"
#include "statisticsdiagnosis.h"
#include "statisticstexts.h"

#include <QCoreApplication>

namespace {

// A pasted page of text would make the box as wide as the screen.
constexpr int MaxQuotedLength = 40;

QString quoted(QString text)
{
    if (text.size() > MaxQuotedLength)
        text = text.left(MaxQuotedLength) + QChar(0x2026);
    return QChar(0x00AB) + text + QChar(0x00BB);
}

} // namespace

QString CalculationWarning::invalidDiameterText(int field, const QString &text)
{
    static const char *const ordinals[]
        = {QT_TR_NOOP("первый"), QT_TR_NOOP("второй"), QT_TR_NOOP("третий")};
    const QString ordinal = tr(ordinals[field]);
    const QString hint
        = tr("Введите диаметр в миллиметрах %1, например 1.45 или 1,45.").arg(diameterRangeText());
    if (text.trimmed().isEmpty())
        return tr("Не указан %1 диаметр мочеточника.").arg(ordinal) + QLatin1Char('\n') + hint;
    // A number, but not one a ureter can measure: a point or a digit gone astray.
    if (readDiameterNumber(text))
        return tr("Неверно указан %1 диаметр мочеточника: %2 мм — вне допустимого диапазона "
                  "(%3). Проверьте, не пропущена ли точка и нет ли лишней цифры.")
                   .arg(ordinal, quoted(text), diameterRangeText())
            + QLatin1Char('\n') + hint;
    return tr("Неверно указан %1 диаметр мочеточника: %2.").arg(ordinal, quoted(text))
        + QLatin1Char('\n') + hint;
}

// The file behind the table, where it was looked for and why it gave nothing:
// what loading found or, for a table with usable rows, that none fits the diameter.
QString CalculationWarning::fileDetails(const StatisticsDiagnosis &load)
{
    QString cause = StatisticsTexts::loadCause(load);
    if (cause.isEmpty())
        cause = tr("в таблице нет строки с этим диаметром в первом столбце и целым числом "
                   "процентов от 0 до 100 во втором (вкладка «Статистика»).");
    return tr("Файл: %1").arg(load.fileName) + QLatin1Char('\n') + tr("Папка: %1").arg(load.folder)
        + QLatin1Char('\n') + tr("Причина: %1").arg(cause);
}

QString CalculationWarning::text(const CalculationResult &result, const CalculationInput &input,
                                 const StatisticsDiagnosis &load)
{
    switch (result.outcome) {
    case CalculationResult::Outcome::InvalidDiameter:
        return invalidDiameterText(result.invalidDiameter,
                                   input.diameterTexts.at(size_t(result.invalidDiameter)));
    case CalculationResult::Outcome::NoSheathSize:
        return tr("Не выбран размер кожуха (10-12 Ch или 12-14 Ch), поэтому для "
                  "диаметра %1 мм вероятность не рассчитана.")
            .arg(result.minimumText);
    case CalculationResult::Outcome::EmptyTable:
        return tr("Таблица статистики для кожуха %1 пуста, поэтому вероятность для "
                  "диаметра %2 мм не рассчитана.")
                   .arg(sheathName(input.sheath), result.minimumText)
            + QLatin1Char('\n') + fileDetails(load);
    case CalculationResult::Outcome::NoUsableRow:
        return tr("В таблице статистики для кожуха %1 нет пригодной строки для "
                  "диаметра %2 мм, поэтому вероятность не рассчитана.")
                   .arg(sheathName(input.sheath), result.minimumText)
            + QLatin1Char('\n') + fileDetails(load);
    case CalculationResult::Outcome::Figure:
        break;
    }
    return {};
}
