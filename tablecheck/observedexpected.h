#ifndef VELMIRA_OBSERVEDEXPECTED_H
#define VELMIRA_OBSERVEDEXPECTED_H

#include "figuretally.h"
#include "logisticrecalibration.h"

#include <array>
#include <optional>

// Observed over expected placements, O/E, with its 95 % score interval. The
// interval holds the ratios E'/E where E' is the expected count once every
// figure is moved by one shift on the logit scale and O lies within 1.96 of
// its standard deviations from E': with one figure for all it is Wilson's
// interval divided by the figure, and like it, it never asks for a chance
// above 1 and stays finite with all or none placed. The figures are given,
// not estimated, so only the outcomes vary. Figures of 0 and 100 % are
// shifted as 0.5 and 99.5 %. None when the figures sum to 0.
std::optional<Estimate>
observedOverExpected(const std::array<PlacementCount, FigureTally::Figures> &byFigure);

#endif // VELMIRA_OBSERVEDEXPECTED_H
