#include "logevidence.h"

#include "casetally.h"
#include "isotonicfit.h"
#include "wilsoninterval.h"

#include <QCryptographicHash>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

BoundCheck boundCheck(double bound, int figure, int cases, int placed)
{
    BoundCheck check;
    check.bound = bound;
    check.figure = figure;
    check.observed = wilsonProportion(placed, cases);
    return check;
}

FittedRow fittedRow(const QString &text, int row, const SheathTally &tally, const IsotonicFit &fit,
                    const QStringList &texts)
{
    FittedRow evidence;
    evidence.diameter = text;
    evidence.cases = tally.rowCases[row];
    evidence.placed = tally.rowPlaced[row];
    evidence.fittedRate = fit.value[row];
    evidence.percent = wholePercent(fit.value[row]);
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
        evidence.rows.append(fittedRow(texts[row], row, tally, fit, texts));
    return evidence;
}

QVector<SheathEvidence> buildTables(const CaseTally &tally)
{
    QVector<SheathEvidence> sheaths;
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14})
        sheaths.append(buildSheathEvidence(sheath, tally.tally(sheath)));
    return sheaths;
}

LogEvidence readLogCases(const QByteArray &bytes, const CaseLogReader::Progress &progress)
{
    LogEvidence evidence;
    // The hash of a large log costs about a quarter of reading it, and needs
    // nothing of the reading: it runs on another core meanwhile.
    const std::unique_ptr<QThread> hashing(QThread::create([&bytes, &evidence] {
        evidence.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }));
    hashing->start();

    QVector<LogCase> read;
    CaseLogReader reader([&read](const LogCase &logCase) { read.append(logCase); }, progress);
    evidence.reading = reader.read(bytes);
    // Only once the whole log is read is its decimal mark known, and with it
    // which cases count.
    const CaseLogReading &reading = evidence.reading;
    read.erase(std::remove_if(read.begin(), read.end(),
                              [&reading](const LogCase &c) { return !reading.keeps(c); }),
               read.end());
    evidence.cases = std::move(read);

    hashing->wait();
    return evidence;
}

LogEvidence gatherLogEvidence(const QByteArray &bytes, const CaseLogReader::Progress &progress)
{
    LogEvidence evidence = readLogCases(bytes, progress);
    CaseTally tally;
    for (const LogCase &logCase : qAsConst(evidence.cases))
        tally.add(logCase);
    evidence.sheaths = buildTables(tally);
    return evidence;
}
