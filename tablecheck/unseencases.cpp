#include "unseencases.h"

#include "shownfigures.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QString DayFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

QDate UnseenCases::firstUnseenDay(const QStringList &comments)
{
    // As the tables' writer puts them: "…, 03.2024-12.2025; …" and
    // "Записано 10.01.2026 12:00:00, …".
    static const QRegularExpression period(
        QStringLiteral(", \\d\\d\\.\\d{4}-(\\d\\d)\\.(\\d{4});"));
    static const QRegularExpression written(
        QStringLiteral("^Записано (\\d\\d\\.\\d\\d\\.\\d{4}) "));
    QDate first;
    const auto take = [&first](const QDate &day) {
        if (day.isValid() && (!first.isValid() || day < first))
            first = day;
    };
    for (const QString &line : comments) {
        const QRegularExpressionMatch end = period.match(line);
        if (end.hasMatch())
            take(QDate(end.captured(2).toInt(), end.captured(1).toInt(), 1).addMonths(1));
        const QRegularExpressionMatch day = written.match(line);
        if (day.hasMatch())
            take(QDate::fromString(day.captured(1), DayFormat).addDays(1));
    }
    return first;
}

QDate UnseenCases::firstUnseenDay(const ShownFigures &figures)
{
    QDate last;
    for (const SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        const StatisticsDiagnosis &found = figures.diagnosis(sheath);
        if (found.status != StatisticsDiagnosis::Status::Loaded)
            continue;
        const QDate day = firstUnseenDay(found.comments);
        if (!day.isValid())
            return QDate(); // a table that tells nothing may hold any case
        last = std::max(last, day);
    }
    return last;
}

UnseenCases::UnseenCases(const QVector<LogCase> &cases, const QDate &from, bool everyCase)
    : m_from(from), m_everyCase(everyCase)
{
    // A log without dates cannot be split: every case is checked, and said to be.
    m_noDates = std::none_of(cases.cbegin(), cases.cend(),
                             [](const LogCase &logCase) { return logCase.date.isValid(); });
    if (optimistic()) {
        m_cases = cases;
        return;
    }
    for (const LogCase &logCase : cases) {
        if (includes(logCase))
            m_cases.append(logCase);
        else if (logCase.date.isValid())
            ++m_leftOutSeen;
        else
            ++m_leftOutUndated;
    }
}

bool UnseenCases::includes(const LogCase &logCase) const
{
    return optimistic() || (logCase.date.isValid() && logCase.date >= m_from);
}

QString UnseenCases::text() const
{
    if (m_everyCase)
        return tr("Проверены все случаи журнала, и те, из которых таблицы могли быть построены: "
                  "цифры ниже оптимистичны.\n");
    if (m_noDates && !cases().isEmpty())
        return tr("В журнале нет дат, и случаи, которых таблицы не видели, не отделить: "
                  "проверены все случаи журнала, и цифры ниже могут быть оптимистичны.\n");
    if (!m_from.isValid())
        return tr("В таблицах не сказано, из каких случаев они построены: проверены все случаи "
                  "журнала, и цифры ниже могут быть оптимистичны.\n");
    QString text = tr("Проверены случаи с %1, которых таблицы не видели: %2.")
                       .arg(m_from.toString(DayFormat))
                       .arg(m_cases.size());
    if (m_leftOutSeen > 0)
        text += tr(" Случаев раньше (таблицы могли быть построены из них): %1, в проверку не "
                   "вошли.")
                    .arg(m_leftOutSeen);
    if (m_leftOutUndated > 0)
        text += tr(" Случаев без даты: %1, в проверку не вошли.").arg(m_leftOutUndated);
    return text + QLatin1Char('\n');
}
