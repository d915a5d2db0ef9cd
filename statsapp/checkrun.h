#ifndef VELMIRA_CHECKRUN_H
#define VELMIRA_CHECKRUN_H

#include "logevidence.h"
#include "shownfigures.h"
#include "statsoptions.h"
#include "statsrun.h"
#include "tablecheck.h"
#include "unseencases.h"

#include <QCoreApplication>
#include <QVector>

// velmira-stats --check: the tables of a folder against a log's cases, and
// with --compare a second folder's on the same cases beside them. The
// log is read and stops the run as building from it would; nothing but the
// JSON file asked for is written, whole or not at all. The cases checked are,
// unless asked otherwise, those the tables cannot have seen. Exit statuses are
// StatsRun's: Written when the check ran, NoCases when no case had a figure
// to check.
class CheckRun {
    Q_DECLARE_TR_FUNCTIONS(CheckRun)

public:
    explicit CheckRun(const StatsRequest &request);
    int exec();

private:
    int readCases(LogEvidence &evidence);
    static int tallyBoth(const QVector<LogCase> &cases, const ShownFigures &first,
                         const ShownFigures &second, FigureTally &firstTally,
                         FigureTally &secondTally);
    QString tablesText(const QString &folder, const ShownFigures &figures) const;
    bool builtFromThisLog(const QString &folder) const;
    static QString optimistic();
    QDate checkedFrom(const ShownFigures &figures, const std::optional<ShownFigures> &second) const;
    QString comparedText(const ShownFigures &second, const TableCheck &compared,
                         const TableCheck &check, int onlyOne, bool optimisticCases) const;
    QString writeJson(const TableCheck &check, const std::optional<TableCheck> &compared,
                      const UnseenCases &unseen) const;

    StatsRequest request;
    StatsRun build; // its messages about the log
    QByteArray logSha256; // of the log read, in hexadecimal
};

#endif // VELMIRA_CHECKRUN_H
