#ifndef VELMIRA_CROSSVALIDATION_H
#define VELMIRA_CROSSVALIDATION_H

#include "caselogreader.h"
#include "figuretally.h"

#include <QVector>

#include <functional>

// The fold of each of n cases: a shuffle seeded with seed, by a generator and
// a draw whose results C++ fixes, so that every platform and rerun gives the
// same folds. The folds' sizes differ by at most one.
QVector<int> foldsOf(int cases, int folds, unsigned seed);

// Each case's figure from tables built without its fold, by the whole build:
// sorting by the rule, the isotonic fit, the clipping to the fixed figures,
// the files, and the calculator's reading and lookup of them. The figures of
// all folds are counted together; with counted given, only the cases it
// accepts, so that the new tables are judged on the cases the installed
// ones are, their figures still those of the whole log's folds.
FigureTally crossValidatedTally(const QVector<LogCase> &cases, int folds, unsigned seed,
                                const std::function<bool(const LogCase &)> &counted = {});

#endif // VELMIRA_CROSSVALIDATION_H
