#include "tablecheckjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

QJsonValue number(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue interval(double low, double high)
{
    return QJsonArray {low, high};
}

QJsonValue interval(const std::optional<Estimate> &estimate)
{
    return estimate ? interval(estimate->low, estimate->high) : QJsonValue(QJsonValue::Null);
}

QJsonValue value(const std::optional<Estimate> &estimate)
{
    return estimate ? QJsonValue(estimate->value) : QJsonValue(QJsonValue::Null);
}

QJsonValue byFigure(const TableCheck &check)
{
    QJsonArray rows;
    for (const FigureRow &row : check.byFigure)
        rows.append(
            QJsonObject {{QStringLiteral("figure"), row.figure / 100.0},
                         {QStringLiteral("cases"), row.observed.cases},
                         {QStringLiteral("placements"), row.observed.placed},
                         {QStringLiteral("ci"), interval(row.observed.low, row.observed.high)}});
    return rows;
}

QJsonValue zone(const ZoneRow &row)
{
    const Proportion &observed = row.observed;
    return QJsonObject {{QStringLiteral("cases"), observed.cases},
                        {QStringLiteral("placements"), observed.placed},
                        {QStringLiteral("mean_figure"), number(row.meanFigure)},
                        {QStringLiteral("ci"),
                         observed.cases > 0 ? interval(observed.low, observed.high)
                                            : QJsonValue(QJsonValue::Null)}};
}

QJsonValue byZone(const TableCheck &check)
{
    return QJsonObject {
        {QStringLiteral("lower"), zone(check.byZone[size_t(FigureZone::LowerBound)])},
        {QStringLiteral("table"), zone(check.byZone[size_t(FigureZone::Table)])},
        {QStringLiteral("upper"), zone(check.byZone[size_t(FigureZone::UpperBound)])}};
}

QJsonValue concordance(const TableCheck &check)
{
    return check.concordance ? QJsonValue(check.concordance->value) : QJsonValue(QJsonValue::Null);
}

QJsonValue concordanceInterval(const TableCheck &check)
{
    if (!check.concordance || !check.concordance->interval)
        return QJsonValue::Null;
    const Estimate &estimate = *check.concordance->interval;
    return interval(estimate.low, estimate.high);
}

} // namespace

QJsonObject tableCheckObject(const TableCheck &check)
{
    return QJsonObject {
        {QStringLiteral("cases"), check.cases},
        {QStringLiteral("placements"), check.placements},
        {QStringLiteral("excluded_stricture"), check.excludedStricture},
        {QStringLiteral("no_figure"), check.noFigure},
        {QStringLiteral("observed_rate"),
         number(check.observed ? std::optional<double>(check.observed->rate()) : std::nullopt)},
        {QStringLiteral("mean_figure"), number(check.meanFigure)},
        {QStringLiteral("oe"), value(check.oe)},
        {QStringLiteral("oe_ci"), interval(check.oe)},
        {QStringLiteral("intercept"), value(check.intercept)},
        {QStringLiteral("intercept_ci"), interval(check.intercept)},
        {QStringLiteral("slope"), value(check.slope)},
        {QStringLiteral("slope_ci"), interval(check.slope)},
        {QStringLiteral("brier"), number(check.brier)},
        {QStringLiteral("brier_scaled"), number(check.brierScaled)},
        {QStringLiteral("c_statistic"), concordance(check)},
        {QStringLiteral("c_statistic_ci"), concordanceInterval(check)},
        {QStringLiteral("by_figure"), byFigure(check)},
        {QStringLiteral("by_zone"), byZone(check)},
    };
}

QByteArray tableCheckJson(const TableCheck &check, const std::optional<TableCheck> &compared,
                          const UnseenCases *unseen)
{
    QJsonObject object = tableCheckObject(check);
    if (compared)
        object.insert(QStringLiteral("compare"), tableCheckObject(*compared));
    if (unseen) {
        object.insert(QStringLiteral("checked_from"),
                      unseen->from().isValid() ? QJsonValue(unseen->from().toString(Qt::ISODate))
                                               : QJsonValue(QJsonValue::Null));
        object.insert(QStringLiteral("left_out_seen"), unseen->leftOutSeen());
        object.insert(QStringLiteral("left_out_undated"), unseen->leftOutUndated());
    }
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}
