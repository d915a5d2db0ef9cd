#include "evidencebuilder.h"

#include "casetally.h"
#include "isotonicfit.h"
#include "wilsoninterval.h"

#include <cmath>

namespace {

BoundCheck boundCheck(double bound, int figure, int cases, int placed)
{
    BoundCheck check;
    check.bound = bound;
    check.figure = figure;
    check.observed = wilsonProportion(placed, cases);
    return check;
}

EvidenceRow evidenceRow(const QString &text, int row, const SheathTally &tally,
                        const IsotonicFit &fit, const QStringList &texts)
{
    EvidenceRow evidence;
    evidence.diameter = text;
    evidence.cases = tally.rowCases[row];
    evidence.placed = tally.rowPlaced[row];
    evidence.fittedRate = fit.value[row];
    evidence.percent = int(std::lround(fit.value[row] * 100.0));
    if (fit.block[row] >= 0) {
        const IsotonicFit::Block &block = fit.blocks[fit.block[row]];
        evidence.block = wilsonProportion(block.placed, block.cases);
        evidence.blockFrom = texts[block.first];
        evidence.blockTo = texts[block.last];
    }
    return evidence;
}

} // namespace

SheathEvidence buildSheathEvidence(SheathSize sheath, const SheathTally &tally)
{
    SheathEvidence evidence;
    evidence.sheath = sheath;
    const SheathBounds bounds = sheathBounds(sheath);
    evidence.lower
        = boundCheck(bounds.lower, LowerBoundFigure, tally.lowerCases, tally.lowerPlaced);
    evidence.upper
        = boundCheck(bounds.upper, UpperBoundFigure, tally.upperCases, tally.upperPlaced);
    evidence.strictureCases = tally.strictureCases;

    const QStringList texts = tableRowTexts(sheath);
    QVector<double> x;
    for (const QString &text : texts)
        x.append(text.toDouble());
    const IsotonicFit fit = fitIsotonic(x, tally.rowCases, tally.rowPlaced,
                                        LowerBoundFigure / 100.0, UpperBoundFigure / 100.0);
    for (int row = 0; row < texts.size(); ++row)
        evidence.rows.append(evidenceRow(texts[row], row, tally, fit, texts));
    return evidence;
}
