#include "shownfigures.h"

#include "diameter.h"
#include "statisticswriter.h"

#include <QDir>
#include <QTextStream>

#include <algorithm>

namespace {

StatisticsRead readTable(const QString &folder, SheathSize sheath)
{
    return readStatisticsFile(QDir(folder).filePath(statisticsFileName(sheath)));
}

} // namespace

ShownFigures::ShownFigures(const QString &folder)
{
    narrow.read = readTable(folder, SheathSize::Ch10To12);
    narrow.model = std::make_unique<StatisticsFileModel>(narrow.read.file);
    wide.read = readTable(folder, SheathSize::Ch12To14);
    wide.model = std::make_unique<StatisticsFileModel>(wide.read.file);
}

ShownFigures::ShownFigures(const QVector<SheathEvidence> &sheaths)
{
    for (const SheathEvidence &evidence : sheaths) {
        if (evidence.tableCases() == 0)
            continue;
        const QByteArray bytes = statisticsFileBytes(LogSummary(), evidence);
        QTextStream stream(bytes);
        Table &table = tableOf(evidence.sheath);
        table.read.file = parseStatistics(stream);
        table.read.diagnosis.status = StatisticsDiagnosis::Status::Loaded;
    }
    for (Table *table : {&narrow, &wide})
        table->model = std::make_unique<StatisticsFileModel>(table->read.file);
}

const ShownFigures::Table &ShownFigures::tableOf(SheathSize sheath) const
{
    return sheath == SheathSize::Ch12To14 ? wide : narrow;
}

ShownFigures::Table &ShownFigures::tableOf(SheathSize sheath)
{
    return sheath == SheathSize::Ch12To14 ? wide : narrow;
}

// The rule's answer depends on the diameters only through the smallest, read
// by the calculator's own reading; a log repeats few smallest diameters, so
// the rule and lookup run once for each instead of once a case. A case with
// a diameter the calculator cannot read goes to the rule as it is.
CalculationResult ShownFigures::figureOf(const LogCase &logCase) const
{
    std::optional<double> minimum;
    for (const QString &text : logCase.diameters) {
        const std::optional<double> diameter = readDiameter(text);
        if (!diameter)
            return calculate(logCase);
        minimum = minimum ? std::min(*minimum, *diameter) : *diameter;
    }
    const Key key {int(logCase.sheath), logCase.stricture, *minimum};
    const auto found = known.find(key);
    if (found != known.end())
        return found->second;
    return known.emplace(key, calculate(logCase)).first->second;
}

CalculationResult ShownFigures::calculate(const LogCase &logCase) const
{
    CalculationInput input;
    input.diameterTexts = logCase.diameters;
    input.stricture = logCase.stricture;
    input.sheath = logCase.sheath;
    const QAbstractItemModel *table
        = logCase.sheath == SheathSize::None ? nullptr : tableOf(logCase.sheath).model.get();
    return calculateProbability(input, table);
}

bool ShownFigures::hasTable() const
{
    return narrow.read.diagnosis.status == StatisticsDiagnosis::Status::Loaded
        || wide.read.diagnosis.status == StatisticsDiagnosis::Status::Loaded;
}

const StatisticsDiagnosis &ShownFigures::diagnosis(SheathSize sheath) const
{
    return tableOf(sheath).read.diagnosis;
}

FigureTally tallyFigures(const ShownFigures &figures, const QVector<LogCase> &cases)
{
    FigureTally tally;
    for (const LogCase &logCase : cases)
        tally.add(logCase, figures.figureOf(logCase));
    return tally;
}
