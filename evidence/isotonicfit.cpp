#include "isotonicfit.h"

#include <algorithm>

namespace {

// Pool adjacent violators over rates y with weights w, in place: afterwards
// y is non-decreasing, and end[i] is the last index of the block starting at
// i. Adjacent blocks of equal rate are pooled too. A single pass that steps
// back after each merge, so the work is linear in the number of rows.
void poolAdjacentViolators(QVector<double> &y, QVector<double> &w, QVector<int> &end)
{
    const int n = int(y.size());
    // For a block [i..j]: end[i] = j and end[j] = i; y[i], w[i] are its rate and weight.
    end.resize(n);
    for (int i = 0; i < n; ++i)
        end[i] = i;
    int i = 0;
    while (i < n) {
        int k = end[i] + 1;
        if (k == n)
            break;
        if (y[i] < y[k]) {
            i = k;
            continue;
        }
        double sumWy = w[i] * y[i];
        double sumW = w[i];
        for (;;) {
            const double previous = y[k];
            sumWy += w[k] * y[k];
            sumW += w[k];
            k = end[k] + 1;
            if (k == n || previous < y[k]) {
                y[i] = sumWy / sumW;
                w[i] = sumW;
                end[i] = k - 1;
                end[k - 1] = i;
                if (i > 0)
                    i = end[i - 1];
                break;
            }
        }
    }
}

// The fitted points that a linear interpolation needs: the first and last of
// each run of equal values. Dropping the others changes no interpolated value.
void keepRunEnds(QVector<double> &x, QVector<double> &y)
{
    QVector<double> keptX, keptY;
    for (int i = 0; i < x.size(); ++i) {
        const bool inner = i > 0 && i + 1 < x.size() && y[i] == y[i - 1] && y[i] == y[i + 1];
        if (!inner) {
            keptX.append(x[i]);
            keptY.append(y[i]);
        }
    }
    x = keptX;
    y = keptY;
}

// Linear interpolation through the points (px, py), px ascending, with the
// end values beyond the ends; a point's own x gives its own y.
double interpolate(const QVector<double> &px, const QVector<double> &py, double at)
{
    if (at <= px.first())
        return py.first();
    if (at >= px.last())
        return py.last();
    // The last point at or before at.
    const int j = int(std::upper_bound(px.cbegin(), px.cend(), at) - px.cbegin()) - 1;
    if (at == px[j])
        return py[j];
    const double slope = (py[j + 1] - py[j]) / (px[j + 1] - px[j]);
    return slope * (at - px[j]) + py[j];
}

} // namespace

IsotonicFit fitIsotonic(const QVector<double> &x, const QVector<int> &cases,
                        const QVector<int> &placed, double low, double high)
{
    IsotonicFit fit;
    fit.value.fill(0.0, int(x.size()));
    fit.block.fill(-1, int(x.size()));
    QVector<int> rows; // the rows with cases
    QVector<double> px, y, w;
    for (int row = 0; row < x.size(); ++row) {
        if (cases[row] <= 0)
            continue;
        rows.append(row);
        px.append(x[row]);
        y.append(double(placed[row]) / cases[row]);
        w.append(cases[row]);
    }
    if (rows.isEmpty())
        return fit;

    QVector<int> end;
    poolAdjacentViolators(y, w, end);
    QVector<double> py(y.size());
    for (int i = 0; i < y.size(); i = end[i] + 1) {
        IsotonicFit::Block block {rows[i], rows[end[i]], 0, 0, y[i]};
        for (int j = i; j <= end[i]; ++j) {
            block.cases += cases[rows[j]];
            block.placed += placed[rows[j]];
            py[j] = std::clamp(y[i], low, high);
            fit.block[rows[j]] = int(fit.blocks.size());
        }
        fit.blocks.append(block);
    }
    keepRunEnds(px, py);
    for (int row = 0; row < x.size(); ++row)
        fit.value[row] = interpolate(px, py, x[row]);
    return fit;
}
