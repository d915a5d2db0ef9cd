#ifndef VELMIRA_WILSONSCORE_H
#define VELMIRA_WILSONSCORE_H

// The two-sided 95 % quantile of the standard normal distribution.
constexpr double Wilson95Quantile = 1.959963984540054;

// The 95 % Wilson score interval of placed of cases, as rates from 0 to 1:
// what the statistics files are written with and what their rows are
// checked against when read back.
struct ScoreInterval {
    double low = 0.0;
    double high = 1.0;
};

// The interval stays inside 0..1 and holds the observed rate even for 0 or
// all placed, where the plain normal interval collapses; for no cases it is 0..1.
ScoreInterval wilsonScoreInterval(int placed, int cases);

#endif // VELMIRA_WILSONSCORE_H
