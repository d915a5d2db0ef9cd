#include "conclusion.h"

#include "diameter.h"

#include <QRegularExpression>
#include <QStringList>
#include <QVector>

#include <cmath>

QVector<Conclusion::Line> Conclusion::lines(const ConclusionFacts &facts)
{
    const SheathSize sheath = facts.input.sheath;
    return {
        {tr("Диаметры мочеточника"), diameters(facts)},
        {tr("Кожух"), sheath == SheathSize::None ? tr("не выбран") : sheathName(sheath)},
        {tr("Стриктура"), facts.input.stricture ? tr("есть") : tr("нет")},
        {tr("ВЕРОЯТНОСТЬ УСПЕШНОЙ УСТАНОВКИ МОЧЕТОЧНИКОВОГО КОЖУХА СОСТАВЛЯЕТ"),
         tr("%1 %").arg(facts.result.figure)},
        {tr("Основание"), facts.provenance},
        {tr("Рассчитано"),
         tr("%1, %2").arg(facts.program, facts.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")))}};
}

// Numbered as on the picture, each as entered in one decimal mark; a field
// left empty or unreadable (a stricture gives its figure regardless) says so.
QString Conclusion::diameters(const ConclusionFacts &facts)
{
    QStringList fields;
    for (int i = 0; i < int(facts.input.diameterTexts.size()); ++i) {
        const QString text = facts.input.diameterTexts.at(size_t(i)).trimmed();
        if (text.isEmpty())
            fields.append(tr("(%1) не указан").arg(i + 1));
        else if (!readDiameter(text))
            fields.append(tr("(%1) указан неверно").arg(i + 1));
        else
            fields.append(tr("(%1) %2 мм").arg(i + 1).arg(diameterAsEntered(text)));
    }
    const QString listed = fields.join(QStringLiteral(", "));
    if (facts.result.minimumText.isEmpty())
        return listed;
    return listed + QStringLiteral("; ") + smallest(facts);
}

// The smallest as entered; where the table was read at its rounded value, that
// value too, so that the record shows the rule: 1.598 looked up as 1.60 gives
// the table's figure, 1.6 the upper bound's.
QString Conclusion::smallest(const ConclusionFacts &facts)
{
    QString entered;
    double minimum = 0;
    for (const QString &text : facts.input.diameterTexts) {
        const std::optional<double> value = readDiameter(text.trimmed());
        if (value && (entered.isEmpty() || *value < minimum)) {
            minimum = *value;
            entered = diameterAsEntered(text);
        }
    }
    const bool rounded = std::abs(minimum - facts.result.minimumText.toDouble()) > 1e-9;
    if (rounded && facts.result.basis == CalculationResult::Basis::Table)
        return tr("наименьший %1 мм, строка таблицы %2").arg(entered, facts.result.minimumText);
    return tr("наименьший %1 мм").arg(entered);
}

QString Conclusion::text(const ConclusionFacts &facts)
{
    QString text;
    for (const Line &line : lines(facts))
        text += line.label + QStringLiteral(": ") + line.value + QLatin1Char('\n');
    return text;
}

// A number stays with its unit, and a row's diameter with its figure: a
// word processor that wraps "1.45 мм — 33 %" must not leave "33 %" alone.
QString Conclusion::keptTogether(QString value)
{
    static const QRegularExpression unit(QStringLiteral("(\\d) (мм|%|Ch)"));
    static const QRegularExpression dash(QStringLiteral("(мм) — (\\d)"));
    value.replace(unit, QStringLiteral("\\1\u00A0\\2"));
    value.replace(dash, QStringLiteral("\\1\u00A0—\u00A0\\2"));
    return value;
}

QString Conclusion::html(const ConclusionFacts &facts)
{
    QString rows;
    for (const Line &line : lines(facts)) {
        QString value = keptTogether(line.value).toHtmlEscaped();
        value.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        rows += QStringLiteral("<tr><th align=\"left\" valign=\"top\" width=\"30%\">%1</th>"
                               "<td valign=\"top\">%2</td></tr>")
                    .arg(line.label.toHtmlEscaped(), value);
    }
    // The page's width, whatever it is: a fixed width would run off an A4 page.
    return QStringLiteral("<table width=\"100%\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">")
        + rows + QStringLiteral("</table>");
}
