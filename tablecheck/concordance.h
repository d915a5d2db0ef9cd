#ifndef VELMIRA_CONCORDANCE_H
#define VELMIRA_CONCORDANCE_H

#include "figuretally.h"
#include "logisticrecalibration.h"

#include <optional>

// The c-statistic of the figures shown: of all pairs of a placement and a
// failure, the share where the placement was shown the higher figure, ties
// counted half. Its 95 % interval is DeLong's, on the plain scale and cut to
// 0..1, as R's pROC gives it, so that a clinic can check it there.
struct Concordance {
    double value = 0.0;
    // None with fewer than two placements or two failures, where DeLong's
    // variance has no spread to estimate.
    std::optional<Estimate> interval;
};

// None without both a placement and a failure.
std::optional<Concordance>
concordanceOf(const std::array<PlacementCount, FigureTally::Figures> &byFigure);

#endif // VELMIRA_CONCORDANCE_H
