#include "tablesvalidation.h"

#include "crossvalidation.h"
#include "shownfigures.h"

LogSplit splitAt(const QVector<LogCase> &cases, const QDate &since)
{
    LogSplit split;
    split.since = since;
    for (const LogCase &logCase : cases) {
        if (!logCase.date.isValid())
            ++split.undated;
        else if (logCase.date < since)
            split.before.append(logCase);
        else
            split.later.append(logCase);
    }
    return split;
}

TablesValidation validateTables(const QVector<SheathEvidence> &sheaths,
                                const QVector<LogCase> &cases)
{
    TablesValidation validation;
    validation.apparent = checkTables(tallyFigures(ShownFigures(sheaths), cases));
    if (cases.size() >= TablesValidation::Folds)
        validation.crossValidated = checkTables(
            crossValidatedTally(cases, TablesValidation::Folds, TablesValidation::Seed));
    return validation;
}

HeldOutCheck checkHeldOut(const QVector<SheathEvidence> &sheaths, const LogSplit &split)
{
    HeldOutCheck held;
    held.since = split.since;
    held.buildCases = int(split.before.size());
    held.laterCases = int(split.later.size());
    held.undated = split.undated;
    held.check = checkTables(tallyFigures(ShownFigures(sheaths), split.later));
    return held;
}
