#ifndef VELMIRA_LOGISTICRECALIBRATION_H
#define VELMIRA_LOGISTICRECALIBRATION_H

#include <QVector>

#include <optional>

// An estimate with its 95 % interval.
struct Estimate {
    double value = 0.0;
    double low = 0.0;
    double high = 0.0;
};

// Cases that share one shown figure, on the logit scale.
struct LogitGroup {
    double logit = 0.0; // logit of the figure shown
    int cases = 0;
    int placed = 0;
};

// Logistic recalibration, logit(placed) = a + b * logit(figure), fitted by
// Newton-Raphson on the grouped cases, with Wald intervals from the observed
// information: the same as a binomial GLM's, which lets any statistics
// package check them. Neither exists when the cases are separated (all
// placed, none placed, or for the slope a figure that splits them cleanly),
// since the likelihood then has no maximum.

// The calibration intercept: a with b fixed at 1 (logit(figure) as an offset).
std::optional<Estimate> calibrationIntercept(const QVector<LogitGroup> &groups);
// The calibration slope: b, fitted with a.
std::optional<Estimate> calibrationSlope(const QVector<LogitGroup> &groups);

#endif // VELMIRA_LOGISTICRECALIBRATION_H
