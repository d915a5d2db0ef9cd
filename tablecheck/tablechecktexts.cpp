#include "tablechecktexts.h"

#include <algorithm>
#include <cmath>

namespace {

// A value that rounds to zero reads 0.00, never "-0.00".
QString fraction(double value)
{
    const QString text = QString::number(value, 'f', 2);
    return text == QLatin1String("-0.00") ? text.mid(1) : text;
}

// "0.86 (0.78–0.94)"; a dash set apart where a bound's minus would run into it.
QString withInterval(const Estimate &estimate)
{
    const QString form
        = estimate.low < 0 ? QStringLiteral("%1 (%2 – %3)") : QStringLiteral("%1 (%2–%3)");
    return form.arg(fraction(estimate.value), fraction(estimate.low), fraction(estimate.high));
}

QString percent(double rate)
{
    return QString::number(wholePercent(rate));
}

// "25 % (18–34 %)"
QString rateWithInterval(const Proportion &observed)
{
    return QStringLiteral("%1 % (%2–%3 %)")
        .arg(percent(observed.rate()), percent(observed.low), percent(observed.high));
}

bool holds(const Estimate &estimate, double value)
{
    return estimate.low <= value && value <= estimate.high;
}

} // namespace

QString TableCheckTexts::estimateText(const Estimate &estimate)
{
    return withInterval(estimate);
}

QString TableCheckTexts::rateText(const Proportion &observed)
{
    return rateWithInterval(observed);
}

QString TableCheckTexts::fractionText(double value)
{
    return fraction(value);
}

QString TableCheckTexts::summary(const TableCheck &check)
{
    QString text = counts(check);
    if (check.cases == 0)
        return text + tr("Случаев с цифрой для проверки нет: проверять таблицы не на чем.\n");
    return text + calibrationInTheLarge(check) + recalibration(check) + accuracy(check)
        + byFigure(check) + byZone(check) + methods(check);
}

QString TableCheckTexts::counts(const TableCheck &check)
{
    QString text = tr("Проверено случаев: %1, установка удалась в %2.\n")
                       .arg(check.cases)
                       .arg(check.placements);
    if (check.excludedStricture > 0)
        text += tr("Случаев со стриктурой: %1; калькулятор показывает для них 0, в проверку "
                   "они не входят.\n")
                    .arg(check.excludedStricture);
    if (check.noFigure > 0)
        text += tr("Случаев без цифры: %1; таблицы не дают для них цифры, в проверку они не "
                   "входят:\n")
                    .arg(check.noFigure)
            + withoutFigure(check, 20);
    return text;
}

QString TableCheckTexts::withoutFigure(const TableCheck &check, int limit)
{
    QString text;
    const int shown = std::min(limit, int(check.withoutFigure.size()));
    for (int i = 0; i < shown; ++i) {
        const CaseWithoutFigure &c = check.withoutFigure.at(i);
        const QString sheath
            = c.sheath == SheathSize::None ? tr("не указан") : sheathName(c.sheath);
        const QString minimum = c.minimumText.isEmpty() ? tr("не читается") : c.minimumText;
        text += tr("  строка %1: кожух %2, наименьший диаметр %3 мм — %4\n")
                    .arg(c.line)
                    .arg(sheath, minimum, reason(c.outcome));
    }
    if (check.withoutFigure.size() > shown)
        text += tr("  и ещё %1\n").arg(int(check.withoutFigure.size()) - shown);
    return text;
}

QString TableCheckTexts::reason(CalculationResult::Outcome outcome)
{
    switch (outcome) {
    case CalculationResult::Outcome::EmptyTable:
        return tr("таблица кожуха пуста или её файла нет");
    case CalculationResult::Outcome::NoUsableRow:
        return tr("в таблице нет строки с цифрой для этого диаметра");
    case CalculationResult::Outcome::InvalidDiameter:
        return tr("калькулятор не читает диаметр");
    case CalculationResult::Outcome::NoSheathSize:
        return tr("не указан кожух");
    case CalculationResult::Outcome::Figure:
        break;
    }
    return {};
}

QString TableCheckTexts::calibrationInTheLarge(const TableCheck &check)
{
    QString text = tr("Наблюдаемая частота установки %1, средняя показанная цифра %2 %.\n")
                       .arg(rateWithInterval(*check.observed), percent(*check.meanFigure));
    if (!check.oe)
        return text;
    const Estimate &oe = *check.oe;
    if (oe.value < 1.0)
        text += tr("В журнале установка удавалась реже, чем показывает калькулятор: O/E %1")
                    .arg(withInterval(oe));
    else if (oe.value > 1.0)
        text += tr("В журнале установка удавалась чаще, чем показывает калькулятор: O/E %1")
                    .arg(withInterval(oe));
    else
        text += tr("В журнале установка удавалась так же часто, как показывает калькулятор: "
                   "O/E %1")
                    .arg(withInterval(oe));
    if (holds(oe, 1.0) && oe.value != 1.0)
        text += tr("; интервал включает 1, так что разница может быть случайной");
    return text + QStringLiteral(".\n");
}

QString TableCheckTexts::recalibration(const TableCheck &check)
{
    QString text;
    if (check.intercept)
        text += tr("Сдвиг калибровки %1: меньше 0 — при той же цифре установка удавалась "
                   "реже, больше 0 — чаще.\n")
                    .arg(withInterval(*check.intercept));
    else
        text += tr("Сдвиг калибровки не определён: все случаи с одним исходом.\n");
    if (check.slope)
        text += tr("Наклон калибровки %1: меньше 1 — цифры различаются сильнее, чем исходы "
                   "(слишком крайние), больше 1 — слабее (слишком осторожные).\n")
                    .arg(withInterval(*check.slope));
    else
        text += tr("Наклон калибровки не определён: нужны удачи и неудачи при разных "
                   "цифрах, не разделённые одной цифрой.\n");
    return text;
}

QString TableCheckTexts::accuracy(const TableCheck &check)
{
    QString text
        = tr("Оценка Бриера %1 (0 — все исходы предсказаны точно).").arg(fraction(*check.brier));
    if (check.brierScaled)
        text += tr(" Относительно постоянной цифры, равной наблюдаемой частоте: %1 (1 — "
                   "точно, 0 — не лучше постоянной цифры, меньше 0 — хуже).")
                    .arg(fraction(*check.brierScaled));
    text += QLatin1Char('\n');
    if (!check.concordance)
        return text + tr("C-статистика не определена: нужны и удачные, и неудачные установки.\n");
    const Concordance &c = *check.concordance;
    const QString value = c.interval ? withInterval(*c.interval) : fraction(c.value);
    return text
        + tr("C-статистика %1: в такой доле пар из удачной и неудачной установки удачной была "
             "показана большая цифра (0.5 — не лучше случая, 1 — всегда).\n")
              .arg(value);
}

QString TableCheckTexts::byFigure(const TableCheck &check)
{
    QString text
        = tr("По показанным цифрам (цифра: случаев, удалось, частота с 95 % интервалом):\n");
    bool marked = false;
    for (const FigureRow &row : check.byFigure) {
        text += tr("  %1 %: %2, %3, %4%5\n")
                    .arg(row.figure)
                    .arg(row.observed.cases)
                    .arg(row.observed.placed)
                    .arg(rateWithInterval(row.observed),
                         row.outsideInterval ? QStringLiteral(" *") : QString());
        marked = marked || row.outsideInterval;
    }
    if (marked)
        text += tr("  * цифра вне интервала наблюдаемой частоты\n");
    return text;
}

QString TableCheckTexts::byZone(const TableCheck &check)
{
    const QString names[FigureZones]
        = {tr("нижняя граница"), tr("строки таблицы"), tr("верхняя граница")};
    QString text = tr("По зонам:\n");
    for (int zone = 0; zone < FigureZones; ++zone) {
        const ZoneRow &row = check.byZone[size_t(zone)];
        if (!row.meanFigure) {
            text += tr("  %1: случаев нет\n").arg(names[zone]);
            continue;
        }
        text += tr("  %1: случаев %2, удалось %3, частота %4, средняя цифра %5 %\n")
                    .arg(names[zone])
                    .arg(row.observed.cases)
                    .arg(row.observed.placed)
                    .arg(rateWithInterval(row.observed), percent(*row.meanFigure));
    }
    return text;
}

QString TableCheckTexts::methods(const TableCheck &check)
{
    QString text
        = tr("Интервалы 95 %:\n"
             "  частоты — Уилсона;\n"
             "  O/E — score-интервал при одном сдвиге всех цифр на шкале логитов (при одной "
             "цифре — интервал Уилсона, делённый на неё);\n"
             "  сдвиг и наклон — Вальда (логистическая регрессия, Ньютон — Рафсон);\n"
             "  C-статистика — ДеЛонга, на обычной шкале, в пределах 0–1.\n");
    if (check.clampedFigures)
        text += tr(
            "Для сдвига, наклона и интервала O/E цифры 0 % и 100 % взяты как 0.5 % и 99.5 %: их "
            "логит бесконечен.\n");
    return text;
}

QString TableCheckTexts::brief(const TableCheck &check)
{
    if (check.cases == 0)
        return tr("случаев с цифрой нет");
    QStringList parts {tr("случаев %1").arg(check.cases)};
    if (check.oe)
        parts << tr("O/E %1").arg(withInterval(*check.oe));
    if (check.slope)
        parts << tr("наклон %1").arg(withInterval(*check.slope));
    if (check.concordance && check.concordance->interval)
        parts << tr("C-статистика %1").arg(withInterval(*check.concordance->interval));
    else if (check.concordance)
        parts << tr("C-статистика %1").arg(fraction(check.concordance->value));
    return parts.join(QStringLiteral(", "));
}

QString TableCheckTexts::heldOutSplit(const HeldOutCheck &held)
{
    QString text = tr("Разделение по дате %1: таблицы построены из %2 случаев до неё, проверены "
                      "на %3 случаях с неё.")
                       .arg(held.since.toString(QStringLiteral("dd.MM.yyyy")))
                       .arg(held.buildCases)
                       .arg(held.laterCases);
    if (held.undated > 0)
        text += tr(" Случаев без даты: %1, они не вошли ни в одну часть.").arg(held.undated);
    return text + QLatin1Char('\n');
}

namespace {

// One figure of two checks, and which is the better by its own yardstick:
// how far from the ideal value, or simply higher or lower.
struct Compared {
    QString name;
    std::optional<Estimate> first;
    std::optional<Estimate> second;
    enum Better { Closer, Higher, Lower } better;
    double ideal = 0.0;
};

std::optional<Estimate> point(const std::optional<double> &value)
{
    if (!value)
        return std::nullopt;
    return Estimate {*value, *value, *value};
}

std::optional<Estimate> concordanceEstimate(const TableCheck &check)
{
    if (!check.concordance)
        return std::nullopt;
    if (check.concordance->interval)
        return check.concordance->interval;
    return point(check.concordance->value);
}

// Negative when the first is better, positive when the second is.
double preference(const Compared &c)
{
    const double a = c.first->value;
    const double b = c.second->value;
    switch (c.better) {
    case Compared::Closer:
        return std::abs(a - c.ideal) - std::abs(b - c.ideal);
    case Compared::Higher:
        return b - a;
    case Compared::Lower:
        return a - b;
    }
    return 0.0;
}

QString shown(const Estimate &e)
{
    return e.low == e.high ? fraction(e.value) : withInterval(e);
}

} // namespace

QString TableCheckTexts::comparison(const TableCheck &first, const TableCheck &second)
{
    return comparison(first, second,
                      tr("Сравнение на тех же %1 случаях: первые таблицы — из --tables, вторые — "
                         "из --compare.")
                          .arg(first.cases));
}

QString TableCheckTexts::comparison(const TableCheck &first, const TableCheck &second,
                                    const QString &heading)
{
    const QVector<Compared> figures {
        {tr("O/E (лучше ближе к 1)"), first.oe, second.oe, Compared::Closer, 1.0},
        {tr("сдвиг калибровки (лучше ближе к 0)"), first.intercept, second.intercept,
         Compared::Closer, 0.0},
        {tr("наклон калибровки (лучше ближе к 1)"), first.slope, second.slope, Compared::Closer,
         1.0},
        {tr("оценка Бриера (лучше меньше)"), point(first.brier), point(second.brier),
         Compared::Lower, 0.0},
        {tr("C-статистика (лучше больше)"), concordanceEstimate(first), concordanceEstimate(second),
         Compared::Higher, 0.0},
    };
    QString text = heading + QLatin1Char('\n');
    for (const Compared &c : figures) {
        if (!c.first || !c.second) {
            text += tr("  %1: не определено для обеих таблиц\n").arg(c.name);
            continue;
        }
        const double p = preference(c);
        const QString verdict = p < 0 ? tr("точнее первые")
            : p > 0                   ? tr("точнее вторые")
                                      : tr("одинаково");
        text += tr("  %1: первые %2, вторые %3 — %4")
                    .arg(c.name, shown(*c.first), shown(*c.second), verdict);
        const bool overlap = c.first->low <= c.second->high && c.second->low <= c.first->high;
        if (p != 0 && overlap && c.first->low < c.first->high)
            text += tr(", но интервалы перекрываются: разница может быть случайной");
        text += QLatin1Char('\n');
    }
    return text;
}
