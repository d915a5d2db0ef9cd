#include "statisticslookup.h"

#include "diameter.h"
#include "statisticsrow.h"

#include <QAbstractItemModel>

#include <cmath>

namespace {

// Two numbers that render to the same two-decimal text lie within about a
// hundredth of each other. Rows farther away than this cannot match, so the
// costly formatting is skipped for them; the text comparison still decides.
constexpr double MatchWindow = 0.02;

bool rendersLike(const QVariant &diameterCell, double minimum, const QString &minimumText)
{
    if (!diameterCell.isValid())
        return false;
    const double diameter = diameterCell.toString().toDouble();
    // Written so that NaN fails too: its text "nan" never equals a number's.
    if (!(std::abs(diameter - minimum) < MatchWindow))
        return false;
    return twoDecimalText(diameter) == minimumText;
}

} // namespace

std::optional<StatisticsMatch> findStatisticsRow(const QAbstractItemModel &table, double minimum)
{
    const QString minimumText = twoDecimalText(minimum);
    // Walking backwards finds the last usable matching row first.
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        if (!rendersLike(table.index(row, 0).data(), minimum, minimumText))
            continue;
        if (const std::optional<int> percentage = readPercentage(table.index(row, 1).data()))
            return StatisticsMatch {row, *percentage};
    }
    return std::nullopt;
}
