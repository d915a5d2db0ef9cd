#include "logisticrecalibration.h"

#include "wilsoninterval.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxIterations = 100;
constexpr int MaxHalvings = 40;
constexpr double Tolerance = 1e-10;

// The coefficients; b stays at 1 when only a is fitted.
struct Coefficients {
    double a = 0.0;
    double b = 1.0;
};

// The log-likelihood and its first and second derivatives in (a, b).
struct Likelihood {
    double value = 0.0;
    double da = 0.0, db = 0.0;
    double daa = 0.0, dab = 0.0, dbb = 0.0; // of minus the second derivative
};

// log(1 + exp(x)) without overflow for large x.
double softplus(double x)
{
    return x > 0 ? x + std::log1p(std::exp(-x)) : std::log1p(std::exp(x));
}

Likelihood likelihood(const QVector<LogitGroup> &groups, const Coefficients &c)
{
    Likelihood l;
    for (const LogitGroup &g : groups) {
        const double eta = c.a + c.b * g.logit;
        const double p = 1.0 / (1.0 + std::exp(-eta));
        const double w = g.cases * p * (1.0 - p);
        const double residual = g.placed - g.cases * p;
        l.value += g.placed * eta - g.cases * softplus(eta);
        l.da += residual;
        l.db += residual * g.logit;
        l.daa += w;
        l.dab += w * g.logit;
        l.dbb += w * g.logit * g.logit;
    }
    return l;
}

// The Newton step, and the variance of the estimate asked for.
struct Step {
    double a = 0.0;
    double b = 0.0;
    double variance = 0.0;
};

std::optional<Step> newtonStep(const Likelihood &l, bool fitSlope)
{
    if (!fitSlope) {
        if (!(l.daa > 0))
            return std::nullopt;
        return Step {l.da / l.daa, 0.0, 1.0 / l.daa};
    }
    const double determinant = l.daa * l.dbb - l.dab * l.dab;
    if (!(determinant > 0))
        return std::nullopt;
    return Step {(l.dbb * l.da - l.dab * l.db) / determinant,
                 (l.daa * l.db - l.dab * l.da) / determinant, l.daa / determinant};
}

// Newton-Raphson, halving a step that would lower the likelihood: the
// log-likelihood is concave, so this converges wherever a maximum exists.
std::optional<Estimate> fit(const QVector<LogitGroup> &groups, bool fitSlope)
{
    Coefficients c;
    if (fitSlope)
        c.b = 0.0;
    Likelihood l = likelihood(groups, c);
    for (int iteration = 0; iteration < MaxIterations; ++iteration) {
        const std::optional<Step> step = newtonStep(l, fitSlope);
        if (!step)
            return std::nullopt;
        if (std::abs(step->a) < Tolerance && std::abs(step->b) < Tolerance) {
            const double value = fitSlope ? c.b : c.a;
            const double spread = Wilson95Quantile * std::sqrt(step->variance);
            return Estimate {value, value - spread, value + spread};
        }
        double scale = 1.0;
        Coefficients next {c.a + step->a, c.b + (fitSlope ? step->b : 0.0)};
        Likelihood nextL = likelihood(groups, next);
        for (int h = 0; h < MaxHalvings && !(nextL.value >= l.value - 1e-12); ++h) {
            scale /= 2;
            next = {c.a + scale * step->a, c.b + (fitSlope ? scale * step->b : 0.0)};
            nextL = likelihood(groups, next);
        }
        c = next;
        l = nextL;
    }
    return std::nullopt;
}

struct Outcomes {
    int cases = 0;
    int placed = 0;
    // The logits of the lowest and highest figure with a placement, and with a failure.
    double minPlaced = std::numeric_limits<double>::infinity();
    double maxPlaced = -std::numeric_limits<double>::infinity();
    double minFailed = std::numeric_limits<double>::infinity();
    double maxFailed = -std::numeric_limits<double>::infinity();
};

Outcomes outcomesOf(const QVector<LogitGroup> &groups)
{
    Outcomes o;
    for (const LogitGroup &g : groups) {
        o.cases += g.cases;
        o.placed += g.placed;
        if (g.placed > 0) {
            o.minPlaced = std::min(o.minPlaced, g.logit);
            o.maxPlaced = std::max(o.maxPlaced, g.logit);
        }
        if (g.placed < g.cases) {
            o.minFailed = std::min(o.minFailed, g.logit);
            o.maxFailed = std::max(o.maxFailed, g.logit);
        }
    }
    return o;
}

} // namespace

std::optional<Estimate> calibrationIntercept(const QVector<LogitGroup> &groups)
{
    const Outcomes o = outcomesOf(groups);
    if (o.placed == 0 || o.placed == o.cases)
        return std::nullopt;
    return fit(groups, false);
}

std::optional<Estimate> calibrationSlope(const QVector<LogitGroup> &groups)
{
    // A maximum exists only where placements and failures overlap: some
    // failure lies above the lowest placement and some placement below the
    // highest failure. Otherwise the slope grows without end (separation).
    const Outcomes o = outcomesOf(groups);
    if (!(o.minPlaced < o.maxFailed && o.minFailed < o.maxPlaced))
        return std::nullopt;
    return fit(groups, true);
}
