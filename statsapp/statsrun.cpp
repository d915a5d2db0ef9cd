#include "statsrun.h"

#include "velmiraversion.h"

#include "badcelltexts.h"
#include "boundchecktexts.h"
#include "caselogreader.h"
#include "casetally.h"
#include "console.h"
#include "logevidence.h"
#include "logsummarytexts.h"
#include "statisticsreport.h"
#include "statisticswriter.h"
#include "tablechecktexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace {

const QString ReportName = statisticsReportFileName();

// A file name goes into one comment line: no line break may cut it.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    return text;
}

QString sheathLine(const SheathEvidence &sheath)
{
    const QString file = statisticsFileName(sheath.sheath);
    if (sheath.tableCases() == 0)
        return StatsRun::tr("Кожух %1: в строках таблицы нет ни одного случая, %2 не записан "
                            "(имеющийся файл не изменён).\n")
            .arg(sheathName(sheath.sheath), file);
    return StatsRun::tr("Кожух %1: случаев в строках таблицы %2, записан %3.\n")
               .arg(sheathName(sheath.sheath))
               .arg(sheath.tableCases())
               .arg(file)
        + BoundCheckTexts::consoleWarning(sheath.lower)
        + BoundCheckTexts::consoleWarning(sheath.upper);
}

} // namespace

StatsRun::StatsRun(const StatsRequest &request, ReportMaker makeReport)
    : request(request), makeReport(std::move(makeReport))
{
}

int StatsRun::fail(Status status, const QString &reason) const
{
    printError(QStringLiteral("velmira-stats: ") + reason + QLatin1Char('\n'));
    return status;
}

// Stops the run unless --skip-bad-rows; then the rows left out are still
// listed, so that the clinic can correct its log. Tables from a minority of
// the log would not be the clinic's evidence, so then it stops all the same.
int StatsRun::reportBadRows(const CaseLogReading &reading) const
{
    const bool minority = reading.mostRowsBad();
    const bool skip = request.skipBadRows && !minority;
    QString text = skip
        ? tr("velmira-stats: в журнале %1 строк с ошибками: %2 из %3; они не учтены.\n")
        : tr("velmira-stats: в журнале %1 строк с ошибками: %2 из %3. Ничего не записано.\n");
    text = text.arg(QDir::toNativeSeparators(request.log))
               .arg(reading.badRows)
               .arg(reading.rowsRead);
    text += BadCellTexts::lines(reading.badCells);
    if (request.skipBadRows && minority)
        text += tr("С ошибками больше половины строк журнала: таблицы из меньшей его части не "
                   "были бы статистикой клиники, и --skip-bad-rows здесь не действует. "
                   "Исправьте журнал.\n");
    else if (!skip)
        text += tr("Исправьте эти строки в журнале или запустите команду с --skip-bad-rows, "
                   "чтобы не учитывать их.\n");
    printError(text);
    return skip ? Written : BadRows;
}

// A table for each sheath size with a case in its rows; none for the others.
QVector<OutputFile> StatsRun::tableFiles(const LogSummary &log,
                                         const QVector<SheathEvidence> &sheaths)
{
    QVector<OutputFile> files;
    for (const SheathEvidence &sheath : sheaths) {
        if (sheath.tableCases() > 0)
            files.append({statisticsFileName(sheath.sheath), statisticsFileBytes(log, sheath)});
    }
    return files;
}

LogSummary StatsRun::summaryOf(const LogEvidence &evidence, const QString &logPath,
                               bool skipBadRows)
{
    const CaseLogReading &reading = evidence.reading;
    LogSummary log;
    log.logName = oneLine(QFileInfo(logPath).fileName());
    log.sha256 = evidence.sha256;
    log.rowsRead = reading.rowsRead;
    log.badRows = reading.badRows;
    log.skippedRows = skipBadRows ? reading.badRows : 0;
    log.diametersRounded = reading.diametersRounded();
    log.firstDate = reading.firstDate;
    log.lastDate = reading.lastDate;
    log.written = QDateTime::currentDateTime();
    log.version = QLatin1String(VELMIRA_VERSION);
    return log;
}

QString StatsRun::logLine(const LogSummary &log, const CaseLogReading &reading) const
{
    QString source;
    if (reading.isWorkbook()) {
        source = reading.format;
    } else {
        const QString delimiter
            = reading.delimiter == QLatin1Char('\t') ? tr("табуляция") : QString(reading.delimiter);
        source = tr("%1, разделитель «%2»").arg(reading.encoding, delimiter);
    }
    return tr("Журнал %1 (%2): строк %3, с ошибками %4, пропущено %5.\n")
        .arg(log.logName, source)
        .arg(log.rowsRead)
        .arg(log.badRows)
        .arg(LogSummaryTexts::skipped(log));
}

// Where each table's header was, and for a workbook each sheet read or left out.
QString StatsRun::sheetLines(const CaseLogReading &reading) const
{
    if (!reading.isWorkbook())
        return tr("Заголовок в строке %1.\n").arg(reading.sheets.constFirst().headerRow);
    QString text;
    for (const LogSheet &sheet : reading.sheets) {
        if (sheet.leftOut.isEmpty())
            text += tr("Лист «%1»: заголовок в строке %2, строк %3.\n")
                        .arg(sheet.name)
                        .arg(sheet.headerRow)
                        .arg(sheet.rowsRead);
        else
            text += tr("Лист «%1» не прочитан: %2\n").arg(sheet.name, sheet.leftOut);
    }
    return text;
}

QString StatsRun::summaryText(const Build &build, const CaseLogReading &reading,
                              const QStringList &kept) const
{
    QString text = logLine(build.log, reading) + sheetLines(reading);
    if (build.log.diametersRounded)
        text += tr("Внимание: %1.\n").arg(LogSummaryTexts::roundedWarning());
    if (const std::optional<HeldOutCheck> &held = build.validation.heldOut)
        text += TableCheckTexts::heldOutSplit(*held);
    for (const SheathEvidence &sheath : build.sheaths)
        text += sheathLine(sheath);
    text += validationLines(build.validation);
    text += tr("Отчёт: %1.\n").arg(ReportName);
    for (const QString &line : kept)
        text += line.left(1).toUpper() + line.mid(1) + QStringLiteral(".\n");
    return text + tr("Папка: %1\n").arg(OutputFolder(request.outputFolder).nativePath());
}

// The check on cases the tables did not see; the report has the rest.
QString StatsRun::validationLines(const TablesValidation &validation) const
{
    QString text;
    if (validation.crossValidated)
        text += tr("Перекрёстная проверка (%1 блоков): %2.\n")
                    .arg(TablesValidation::Folds)
                    .arg(TableCheckTexts::brief(*validation.crossValidated));
    if (validation.heldOut)
        text += tr("Проверка на отложенных случаях:\n")
            + TableCheckTexts::summary(validation.heldOut->check);
    return text;
}

// Read whole, and on Windows QFile shares the file for reading and writing:
// a workbook Excel still holds open (sharing it for reading) opens all the same.
std::optional<QByteArray> StatsRun::logBytes() const
{
    QFile file(request.log);
    if (file.open(QIODevice::ReadOnly)) {
        QString error;
        std::optional<QByteArray> bytes = CaseLogReader::readWhole(file, &error);
        if (!bytes)
            fail(LogUnreadable, error);
        return bytes;
    }
    const QString logPath = QDir::toNativeSeparators(request.log);
    fail(LogUnreadable,
         QFileInfo(request.log).isFile()
             ? tr("журнал %1 не удаётся прочитать: нет прав на чтение.").arg(logPath)
             : tr("журнала %1 нет: такого файла не найдено.").arg(logPath));
    return std::nullopt;
}

// The tables, the summary the files give of the log, and how well the tables
// predict cases: on the log's cases, or split at the date asked for, built
// from the earlier cases and checked on the later ones too. Empty sheaths
// when the split leaves a side without cases, which has then been said.
StatsRun::Build StatsRun::tablesToWrite(const LogEvidence &evidence) const
{
    Build build;
    build.log = summaryOf(evidence, request.log, request.skipBadRows);
    if (!request.holdoutSince.isValid()) {
        build.sheaths = evidence.sheaths;
        build.validation = validateTables(build.sheaths, evidence.cases);
        return build;
    }
    const LogSplit split = splitAt(evidence.cases, request.holdoutSince);
    const QString since = request.holdoutSince.toString(QStringLiteral("dd.MM.yyyy"));
    if (!evidence.reading.hasDates()) {
        fail(NoCases,
             tr("в журнале нет дат, и отложить поздние случаи для проверки нельзя; "
                "ничего не записано. Без --holdout-since отчёт проверяет таблицы "
                "перекрёстно."));
        return {};
    }
    if (split.before.isEmpty() || split.later.isEmpty()) {
        fail(NoCases,
             tr("случаев до %1: %2, с этой даты: %3 — одна из частей пуста; ничего не "
                "записано.")
                 .arg(since)
                 .arg(split.before.size())
                 .arg(split.later.size()));
        return {};
    }
    // The period is the tables' own, which the calculator's tool tip names:
    // the earlier cases', not the whole log's.
    CaseTally tally;
    build.log.firstDate = QDate();
    build.log.lastDate = QDate();
    for (const LogCase &logCase : split.before) {
        tally.add(logCase);
        if (!logCase.date.isValid())
            continue;
        build.log.firstDate = build.log.firstDate.isValid()
            ? std::min(build.log.firstDate, logCase.date)
            : logCase.date;
        build.log.lastDate = std::max(build.log.lastDate, logCase.date);
    }
    build.log.heldOutSince = request.holdoutSince;
    build.sheaths = buildTables(tally);
    build.validation = validateTables(build.sheaths, split.before);
    build.validation.heldOut = checkHeldOut(build.sheaths, split);
    return build;
}

int StatsRun::exec()
{
    const std::optional<QByteArray> bytes = logBytes();
    if (!bytes)
        return LogUnreadable;
    const LogEvidence evidence = gatherLogEvidence(*bytes);
    const QString logPath = QDir::toNativeSeparators(request.log);
    const CaseLogReading &reading = evidence.reading;
    if (!reading.error.isEmpty())
        return fail(LogUnreadable, tr("журнал %1: %2").arg(logPath, reading.error));
    if (reading.badRows > 0 && reportBadRows(reading) != Written)
        return BadRows;

    const Build build = tablesToWrite(evidence);
    if (build.sheaths.isEmpty())
        return NoCases;
    QVector<OutputFile> files = tableFiles(build.log, build.sheaths);
    if (files.isEmpty())
        return fail(NoCases,
                    tr("ни у одного кожуха нет случаев с наименьшим диаметром между "
                       "фиксированными границами; ничего не записано."));
    OutputFolder folder(request.outputFolder);
    // The folder is judged before the report is drawn, so that its error comes at once.
    const QString problem
        = folder.check(files + QVector<OutputFile> {{ReportName, {}}}, request.replace);
    if (!problem.isEmpty())
        return fail(NotWritten, problem + QLatin1Char(' ') + tr("Ничего не записано."));
    const QByteArray report = makeReport(build.log, build.sheaths, build.validation);
    if (report.isEmpty())
        return fail(NotWritten, tr("не удалось построить отчёт; ничего не записано."));
    files.append({ReportName, report});

    QStringList kept;
    const QString error = folder.write(files, request.replace, &kept);
    if (!error.isEmpty())
        return fail(folder.wasLocked() ? FolderLocked : NotWritten, error);
    printOut(summaryText(build, reading, kept));
    return Written;
}
