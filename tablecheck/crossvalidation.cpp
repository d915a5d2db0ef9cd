#include "crossvalidation.h"

#include "casetally.h"
#include "logevidence.h"
#include "shownfigures.h"

#include <random>

namespace {

// A number from 0 to bound - 1 from the generator's raw output, by rejection:
// the standard distributions may differ between libraries.
unsigned below(std::mt19937 &generator, unsigned bound)
{
    const unsigned long long range = 1ull << 32;
    const unsigned long long limit = range - range % bound;
    unsigned long long draw = generator();
    while (draw >= limit)
        draw = generator();
    return unsigned(draw % bound);
}

} // namespace

QVector<int> foldsOf(int cases, int folds, unsigned seed)
{
    QVector<int> order(cases);
    for (int i = 0; i < cases; ++i)
        order[i] = i;
    std::mt19937 generator(seed);
    for (int i = cases - 1; i > 0; --i)
        std::swap(order[i], order[int(below(generator, unsigned(i) + 1))]);
    QVector<int> fold(cases);
    for (int position = 0; position < cases; ++position)
        fold[order[position]] = position % folds;
    return fold;
}

FigureTally crossValidatedTally(const QVector<LogCase> &cases, int folds, unsigned seed,
                                const std::function<bool(const LogCase &)> &counted)
{
    const QVector<int> fold = foldsOf(int(cases.size()), folds, seed);
    // Each fold sorted once; a fold's tables come from the sum of the others.
    QVector<CaseTally> byFold(folds);
    QVector<QVector<LogCase>> foldCases(folds);
    for (int i = 0; i < cases.size(); ++i) {
        byFold[fold[i]].add(cases[i]);
        foldCases[fold[i]].append(cases[i]);
    }
    FigureTally tally;
    for (int held = 0; held < folds; ++held) {
        CaseTally others;
        for (int f = 0; f < folds; ++f) {
            if (f != held)
                others.add(byFold[f]);
        }
        const ShownFigures figures(buildTables(others));
        for (const LogCase &logCase : foldCases[held]) {
            if (!counted || counted(logCase))
                tally.add(logCase, figures.figureOf(logCase));
        }
    }
    return tally;
}
