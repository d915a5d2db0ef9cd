// Feeds arbitrary bytes to the case log reader, then sorts and fits the cases
// it hands over, and aborts when a property that must hold for every log is
// broken. libFuzzer keeps the input that made it abort.

#include "caselogreader.h"
#include "casetally.h"
#include "logcells.h"
#include "logevidence.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz_caselog: %s\n", what);
    std::abort();
}

void checkCase(const LogCase &logCase, int &lastLine)
{
    for (const QString &diameter : logCase.diameters) {
        const std::optional<double> value = readLogDiameter(diameter);
        require(value && *value > 0.0 && *value <= MaxLogDiameter, "a case with a bad diameter");
    }
    require(logCase.sheath != SheathSize::None, "a case without a sheath size");
    require(logCase.line > lastLine && logCase.line >= 2, "cases out of line order");
    lastLine = logCase.line;
}

// The table: 17 rows, non-decreasing, inside the fixed figures, counts that add up.
void checkEvidence(const SheathEvidence &evidence, int sortedCases)
{
    require(evidence.rows.size() == 17, "not 17 rows");
    require(evidence.allCases() == sortedCases, "cases lost or gained in sorting");
    int previous = 0;
    for (const FittedRow &row : evidence.rows) {
        if (evidence.tableCases() == 0)
            break;
        require(row.percent >= 29 && row.percent <= 93, "a percent outside 29..93");
        require(row.percent >= previous, "a falling percent");
        require(row.placed <= row.cases, "more placed than cases");
        require(row.isInterpolated()
                    || (row.block.cases >= row.cases && row.block.low <= row.block.rate()
                        && row.block.rate() <= row.block.high),
                "a block that does not hold its row or its rate");
        previous = row.percent;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));

    CaseTally tally;
    int cases = 0;
    int lastLine = 0;
    int perSheath[2] = {0, 0};
    CaseLogReader reader([&](const LogCase &logCase) {
        checkCase(logCase, lastLine);
        tally.add(logCase);
        ++cases;
        ++perSheath[logCase.sheath == SheathSize::Ch10To12 ? 0 : 1];
    });
    const CaseLogReading reading = reader.read(bytes);

    if (!reading.error.isEmpty()) {
        require(cases == 0 && reading.rowsRead == 0, "rows read from an unreadable log");
        return 0;
    }
    require(reading.rowsRead == cases + reading.badRows, "rows neither good nor bad");
    require(reading.badCells.size() >= reading.badRows, "a bad row without a bad cell");
    for (int i = 1; i < reading.badCells.size(); ++i)
        require(reading.badCells.at(i).line >= reading.badCells.at(i - 1).line,
                "bad cells out of line order");
    for (const BadCell &bad : reading.badCells) {
        if (bad.column == LogColumn::D1 || bad.column == LogColumn::D2
            || bad.column == LogColumn::D3)
            require(!readLogDiameter(bad.cell), "a readable diameter counted as bad");
    }
    require(reading.firstDate <= reading.lastDate, "a period that ends before it starts");

    checkEvidence(buildSheathEvidence(SheathSize::Ch10To12, tally.tally(SheathSize::Ch10To12)),
                  perSheath[0]);
    checkEvidence(buildSheathEvidence(SheathSize::Ch12To14, tally.tally(SheathSize::Ch12To14)),
                  perSheath[1]);
    return 0;
}
