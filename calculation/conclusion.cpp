#include "conclusion.h"

#include <QStringList>
#include <QVector>

QVector<Conclusion::Line> Conclusion::lines(const ConclusionFacts &facts)
{
    QStringList diameters;
    for (const QString &text : facts.input.diameterTexts)
        diameters.append(text.trimmed());
    QString measured = tr("%1 мм").arg(diameters.join(QStringLiteral("; ")));
    if (!facts.result.minimumText.isEmpty())
        measured += tr(" (наименьший %1 мм)").arg(facts.result.minimumText);
    return {
        {tr("Диаметры мочеточника"), measured},
        {tr("Кожух"), sheathName(facts.input.sheath)},
        {tr("Стриктура"), facts.input.stricture ? tr("есть") : tr("нет")},
        {facts.sentence, tr("%1 %").arg(facts.result.figure)},
        {tr("Основание"), facts.provenance},
        {tr("Рассчитано"),
         tr("%1, %2").arg(facts.program, facts.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")))}};
}

QString Conclusion::text(const ConclusionFacts &facts)
{
    QString text;
    for (const Line &line : lines(facts))
        text += line.label + QStringLiteral(": ") + line.value + QLatin1Char('\n');
    return text;
}

QString Conclusion::html(const ConclusionFacts &facts)
{
    QString rows;
    for (const Line &line : lines(facts)) {
        QString value = line.value.toHtmlEscaped();
        value.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        rows += QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td></tr>")
                    .arg(line.label.toHtmlEscaped(), value);
    }
    return QStringLiteral("<table border=\"1\" cellpadding=\"3\">") + rows
        + QStringLiteral("</table>");
}
