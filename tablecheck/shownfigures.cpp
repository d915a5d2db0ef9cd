#include "shownfigures.h"

#include <QDir>

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

const ShownFigures::Table &ShownFigures::tableOf(SheathSize sheath) const
{
    return sheath == SheathSize::Ch12To14 ? wide : narrow;
}

CalculationResult ShownFigures::figureOf(const LogCase &logCase) const
{
    CalculationInput input;
    input.diameterTexts = logCase.diameters;
    input.stricture = logCase.stricture;
    input.sheath = logCase.sheath;
    const QAbstractItemModel *table
        = logCase.sheath == SheathSize::None ? nullptr : tableOf(logCase.sheath).model.get();
    return calculateProbability(input, table);
}

const StatisticsDiagnosis &ShownFigures::diagnosis(SheathSize sheath) const
{
    return tableOf(sheath).read.diagnosis;
}
