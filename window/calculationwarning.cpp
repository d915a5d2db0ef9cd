#include "calculationwarning.h"

#include "probabilityrule.h"

#include <QCoreApplication>

namespace {

// A pasted page of text would make the box as wide as the screen.
constexpr int MaxQuotedLength = 40;

QString tr(const char *text)
{
    return QCoreApplication::translate("Velmira", text);
}

QString quoted(QString text)
{
    if (text.size() > MaxQuotedLength)
        text = text.left(MaxQuotedLength) + QChar(0x2026);
    return QChar(0x00AB) + text + QChar(0x00BB);
}

QString invalidDiameterText(int field, const QString &text)
{
    static const char *const ordinals[] = {"первый", "второй", "третий"};
    const QString ordinal = tr(ordinals[field]);
    const QString hint = tr("Введите положительное число в миллиметрах, например 1.45 или 1,45.");
    if (text.trimmed().isEmpty())
        return tr("Не указан %1 диаметр мочеточника.").arg(ordinal) + QLatin1Char('\n') + hint;
    return tr("Неверно указан %1 диаметр мочеточника: %2.").arg(ordinal, quoted(text))
        + QLatin1Char('\n') + hint;
}

QString sheathName(SheathSize sheath)
{
    return sheath == SheathSize::Ch10To12 ? QStringLiteral("10-12 Ch") : QStringLiteral("12-14 Ch");
}

} // namespace

QString calculationWarningText(const CalculationResult &result, const CalculationInput &input)
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
        return tr("Таблица статистики для кожуха %1 пуста: её файл не найден или не "
                  "содержит данных. Вероятность для диаметра %2 мм не рассчитана.")
            .arg(sheathName(input.sheath), result.minimumText);
    case CalculationResult::Outcome::NoUsableRow:
        return tr("В таблице статистики для кожуха %1 нет пригодной строки для "
                  "диаметра %2 мм, поэтому вероятность не рассчитана.\n"
                  "Пригодная строка содержит этот диаметр в первом столбце и целое "
                  "число процентов от 0 до 100 во втором (вкладка «Статистика»).")
            .arg(sheathName(input.sheath), result.minimumText);
    case CalculationResult::Outcome::Figure:
        break;
    }
    return {};
}
