#include "checkrun.h"

#include "console.h"
#include "figuretally.h"
#include "filewrite.h"
#include "logevidence.h"
#include "tablecheckjson.h"
#include "tablechecktexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString diagnosisText(const StatisticsDiagnosis &diagnosis)
{
    switch (diagnosis.status) {
    case StatisticsDiagnosis::Status::NotFound:
        return CheckRun::tr("файла нет");
    case StatisticsDiagnosis::Status::NotReadable:
        return CheckRun::tr("файл не читается");
    case StatisticsDiagnosis::Status::NoDataRows:
        return CheckRun::tr("в файле нет строк таблицы");
    case StatisticsDiagnosis::Status::Loaded:
        break;
    }
    return CheckRun::tr("строк %1, из них без цифры %2")
        .arg(diagnosis.rows)
        .arg(diagnosis.unusableRows);
}

} // namespace

CheckRun::CheckRun(const StatsRequest &request) : request(request), build(request, {}) { }

// Returns -1 when the cases are read and the run goes on, else the exit status.
int CheckRun::readCases(LogEvidence &evidence)
{
    const std::optional<QByteArray> bytes = build.logBytes();
    if (!bytes)
        return StatsRun::LogUnreadable;
    evidence = readLogCases(*bytes);
    logSha256 = evidence.sha256;
    const CaseLogReading &reading = evidence.reading;
    const QString logPath = QDir::toNativeSeparators(request.log);
    if (!reading.error.isEmpty())
        return build.fail(StatsRun::LogUnreadable,
                          StatsRun::tr("журнал %1: %2").arg(logPath, reading.error));
    if (reading.badRows > 0) {
        const int status = build.reportBadRows(reading);
        if (status != StatsRun::Written)
            return status;
    }
    return -1;
}

// Tables name the SHA-256 of the log they were built from: checked on that
// same log, they are judged on the cases they were fitted to.
bool CheckRun::builtFromThisLog(const QString &folder) const
{
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        QFile file(QDir(folder).filePath(statisticsFileName(sheath)));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(logSha256))
            return true;
    }
    return false;
}

QString CheckRun::tablesText(const QString &folder, const ShownFigures &figures) const
{
    QString text = tr("Проверка таблиц из папки %1 на журнале %2.\n")
                       .arg(QDir::toNativeSeparators(QDir(folder).absolutePath()),
                            QFileInfo(request.log).fileName());
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14})
        text += tr("%1 (кожух %2): %3.\n")
                    .arg(statisticsFileName(sheath), sheathName(sheath),
                         diagnosisText(figures.diagnosis(sheath)));
    return text;
}

// The day asked for, else the day after the last case either set can hold,
// so that two sets are compared on cases neither saw.
QDate CheckRun::checkedFrom(const ShownFigures &figures,
                            const std::optional<ShownFigures> &second) const
{
    if (request.checkFrom.isValid())
        return request.checkFrom;
    const QDate first = UnseenCases::firstUnseenDay(figures);
    if (!second || !first.isValid())
        return first;
    const QDate other = UnseenCases::firstUnseenDay(*second);
    return other.isValid() ? std::max(first, other) : QDate();
}

QString CheckRun::writeJson(const TableCheck &check, const std::optional<TableCheck> &compared,
                            const UnseenCases &unseen) const
{
    const QString error
        = FileWrite::whole(request.jsonFile, tableCheckJson(check, compared, &unseen));
    if (!error.isEmpty())
        return tr("файл %1 не записан: %2.").arg(QDir::toNativeSeparators(request.jsonFile), error);
    return {};
}

// The cases and the figures both sets of tables give them: a case counts for
// both or for neither, so that the two are judged on the same cases.
int CheckRun::tallyBoth(const QVector<LogCase> &cases, const ShownFigures &first,
                        const ShownFigures &second, FigureTally &firstTally,
                        FigureTally &secondTally)
{
    int onlyOne = 0;
    for (const LogCase &logCase : cases) {
        const CalculationResult a = first.figureOf(logCase);
        const CalculationResult b = second.figureOf(logCase);
        if (a.hasFigure() && b.hasFigure()) {
            firstTally.add(logCase, a);
            secondTally.add(logCase, b);
            continue;
        }
        if (!a.hasFigure())
            firstTally.add(logCase, a);
        if (!b.hasFigure())
            secondTally.add(logCase, b);
        onlyOne += a.hasFigure() != b.hasFigure() ? 1 : 0;
    }
    return onlyOne;
}

int CheckRun::exec()
{
    for (const QString &folder : {request.tablesFolder, request.compareFolder}) {
        if (!folder.isEmpty() && !QFileInfo(folder).isDir())
            return build.fail(StatsRun::UsageError,
                              tr("папки таблиц %1 нет.").arg(QDir::toNativeSeparators(folder)));
    }
    LogEvidence evidence;
    const int status = readCases(evidence);
    if (status >= 0)
        return status;
    const ShownFigures figures(request.tablesFolder);
    // Without a table every figure would be a fixed bound's: a check of
    // nothing the keeper installed, passed off as one of the tables.
    for (const QString &folder : {request.tablesFolder, request.compareFolder}) {
        if (!folder.isEmpty() && !ShownFigures(folder).hasTable())
            return build.fail(StatsRun::NoCases,
                              tr("в папке %1 нет ни одной таблицы, которую читает калькулятор "
                                 "(Statistics_1.txt, Statistics_2.txt): проверять нечего.")
                                  .arg(QDir::toNativeSeparators(QDir(folder).absolutePath())));
    }
    std::optional<ShownFigures> second;
    if (!request.compareFolder.isEmpty())
        second.emplace(request.compareFolder);
    const UnseenCases unseen(evidence.cases, checkedFrom(figures, second), request.allCases);
    const QVector<LogCase> &cases = unseen.cases();
    FigureTally tally;
    std::optional<TableCheck> compared;
    int onlyOne = 0;
    if (!second) {
        tally = tallyFigures(figures, cases);
    } else {
        FigureTally other;
        onlyOne = tallyBoth(cases, figures, *second, tally, other);
        compared = checkTables(other);
    }
    const TableCheck check = checkTables(tally);
    if (!request.jsonFile.isEmpty()) {
        const QString error = writeJson(check, compared, unseen);
        if (!error.isEmpty())
            return build.fail(StatsRun::NotWritten, error);
    }
    QString text = tablesText(request.tablesFolder, figures) + unseen.text();
    if (unseen.optimistic() && builtFromThisLog(request.tablesFolder))
        text += optimistic();
    text += TableCheckTexts::summary(check);
    if (compared)
        text += comparedText(*second, *compared, check, onlyOne, unseen.optimistic());
    if (!request.jsonFile.isEmpty())
        text += tr("Цифры проверки записаны в %1.\n")
                    .arg(QDir::toNativeSeparators(request.jsonFile));
    printOut(text);
    return check.cases > 0 ? StatsRun::Written : StatsRun::NoCases;
}

QString CheckRun::optimistic()
{
    return tr("Таблицы построены из этого же журнала: цифры ниже получены на тех же "
              "случаях, оптимистично.\n");
}

// The second tables as the first, then the two figure by figure.
QString CheckRun::comparedText(const ShownFigures &second, const TableCheck &compared,
                               const TableCheck &check, int onlyOne, bool optimisticCases) const
{
    QString text = QLatin1Char('\n') + tablesText(request.compareFolder, second);
    if (optimisticCases && builtFromThisLog(request.compareFolder))
        text += optimistic();
    text += TableCheckTexts::summary(compared) + QLatin1Char('\n');
    if (onlyOne > 0)
        text += tr("Случаев, которым цифру дают только одни из таблиц: %1; в сравнение они не "
                   "вошли.\n")
                    .arg(onlyOne);
    if (check.cases > 0)
        text += TableCheckTexts::comparison(check, compared);
    return text;
}
