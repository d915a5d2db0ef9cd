#include "checkrun.h"

#include "console.h"
#include "figuretally.h"
#include "tablecheckjson.h"
#include "tablechecktexts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
int CheckRun::readCases(QVector<LogCase> &cases, CaseLogReading &reading)
{
    const std::optional<QByteArray> bytes = build.logBytes();
    if (!bytes)
        return StatsRun::LogUnreadable;
    reading
        = CaseLogReader([&cases](const LogCase &logCase) { cases.append(logCase); }).read(*bytes);
    logSha256 = QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex();
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
bool CheckRun::builtFromThisLog() const
{
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        QFile file(QDir(request.tablesFolder).filePath(statisticsFileName(sheath)));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(logSha256))
            return true;
    }
    return false;
}

QString CheckRun::tablesText(const ShownFigures &figures) const
{
    QString text = tr("Проверка таблиц из папки %1 на журнале %2.\n")
                       .arg(QDir::toNativeSeparators(QDir(request.tablesFolder).absolutePath()),
                            QFileInfo(request.log).fileName());
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14})
        text += tr("%1 (кожух %2): %3.\n")
                    .arg(statisticsFileName(sheath), sheathName(sheath),
                         diagnosisText(figures.diagnosis(sheath)));
    return text;
}

QString CheckRun::writeJson(const TableCheck &check) const
{
    QSaveFile file(request.jsonFile);
    const QString path = QDir::toNativeSeparators(request.jsonFile);
    if (!file.open(QIODevice::WriteOnly))
        return tr("файл %1 не удаётся открыть для записи: %2.").arg(path, file.errorString());
    file.write(tableCheckJson(check));
    if (!file.commit())
        return tr("файл %1 не записан: %2.").arg(path, file.errorString());
    return {};
}

int CheckRun::exec()
{
    if (!QFileInfo(request.tablesFolder).isDir())
        return build.fail(
            StatsRun::UsageError,
            tr("папки таблиц %1 нет.").arg(QDir::toNativeSeparators(request.tablesFolder)));
    QVector<LogCase> cases;
    CaseLogReading reading;
    const int status = readCases(cases, reading);
    if (status >= 0)
        return status;

    const ShownFigures figures(request.tablesFolder);
    FigureTally tally;
    // Only once the whole log is read is it known which cases count.
    for (const LogCase &logCase : cases) {
        if (reading.keeps(logCase))
            tally.add(logCase, figures.figureOf(logCase));
    }
    const TableCheck check = checkTables(tally);
    if (!request.jsonFile.isEmpty()) {
        const QString error = writeJson(check);
        if (!error.isEmpty())
            return build.fail(StatsRun::NotWritten, error);
    }
    QString text = tablesText(figures);
    if (builtFromThisLog())
        text += tr("Таблицы построены из этого же журнала: цифры ниже получены на тех же "
                   "случаях, оптимистично.\n");
    text += TableCheckTexts::summary(check);
    if (!request.jsonFile.isEmpty())
        text += tr("Цифры проверки записаны в %1.\n")
                    .arg(QDir::toNativeSeparators(request.jsonFile));
    printOut(text);
    return check.cases > 0 ? StatsRun::Written : StatsRun::NoCases;
}
