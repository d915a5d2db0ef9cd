// Feeds arbitrary bytes to the case log reader, then sorts and fits the cases
// it hands over, and aborts when a property that must hold for every log is
// broken. libFuzzer keeps the input that made it abort.

#include "badcells.h"
#include "caselogreader.h"
#include "casetally.h"
#include "diameter.h"
#include "logcells.h"
#include "logevidence.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <array>
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

// Cases come in the order of the log: by table, then by row.
struct Place {
    int sheet = 0;
    int line = 0;
};

void checkCase(const LogCase &logCase, Place &last)
{
    for (const QString &diameter : logCase.diameters) {
        const std::optional<double> value = readLogDiameter(diameter);
        require(value && *value >= SmallestDiameter && *value <= LargestDiameter,
                "a case with a bad diameter");
    }
    require(logCase.sheath != SheathSize::None, "a case without a sheath size");
    require(logCase.sheet > last.sheet || (logCase.sheet == last.sheet && logCase.line > last.line),
            "cases out of line order");
    require(logCase.line >= 2, "a case on the first row, above its header");
    last = {logCase.sheet, logCase.line};
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

    // By decimal mark, as the evidence keeps them until the log's own is known.
    std::array<CaseTally, 3> tally;
    std::array<std::array<int, 2>, 3> perSheath {};
    Place last;
    CaseLogReader reader([&](const LogCase &logCase) {
        checkCase(logCase, last);
        const std::size_t mark = std::size_t(logCase.mark);
        tally[mark].add(logCase);
        ++perSheath[mark][logCase.sheath == SheathSize::Ch10To12 ? 0 : 1];
    });
    const CaseLogReading reading = reader.read(bytes);

    if (!reading.error.isEmpty()) {
        // A workbook may fail in a later sheet; delimited text fails before any row.
        require(reading.isWorkbook() || reading.rowsRead == 0, "rows read from an unreadable log");
        return 0;
    }
    const std::size_t none = std::size_t(DecimalMark::None);
    const std::size_t own = std::size_t(reading.mark);
    if (own != none) {
        tally[none].add(tally[own]);
        for (int sheath : {0, 1})
            perSheath[none][sheath] += perSheath[own][sheath];
    }
    const int kept = perSheath[none][0] + perSheath[none][1];
    require(reading.rowsRead == kept + reading.badRows, "rows neither good nor bad");
    require(reading.badCells.cellCount() >= reading.badRows, "a bad row without a bad cell");
    for (const BadCellGroup &group : reading.badCells.groups()) {
        require(group.count >= group.first.size() && !group.first.isEmpty(), "a group's count");
        const bool diameter = group.column == LogColumn::D1 || group.column == LogColumn::D2
            || group.column == LogColumn::D3;
        for (const BadCell &bad : group.first) {
            if (diameter && group.problem != CellProblem::OtherMark)
                require(!readLogDiameter(bad.cell), "a readable diameter counted as bad");
        }
    }
    require(reading.firstDate <= reading.lastDate, "a period that ends before it starts");

    const CaseTally &counted = tally[none];
    checkEvidence(buildSheathEvidence(SheathSize::Ch10To12, counted.tally(SheathSize::Ch10To12)),
                  perSheath[none][0]);
    checkEvidence(buildSheathEvidence(SheathSize::Ch12To14, counted.tally(SheathSize::Ch12To14)),
                  perSheath[none][1]);
    return 0;
}
