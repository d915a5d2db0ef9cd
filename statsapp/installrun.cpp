#include "installrun.h"

#include "console.h"
#include "figureprovenance.h"
#include "pendingreplace.h"
#include "statisticsreader.h"
#include "statsrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QStringList TableNames
    = {QStringLiteral("Statistics_1.txt"), QStringLiteral("Statistics_2.txt")};

// The folder that the Debian package's polkit action lets pkexec write: run
// that way, the command writes nowhere else, whoever asked.
const QString PackageFolder = QStringLiteral("/etc/velmira");

QString nativeFilePath(const QString &folder, const QString &name)
{
    return QDir::toNativeSeparators(QFileInfo(QDir(folder).filePath(name)).absoluteFilePath());
}

} // namespace

InstallRun::InstallRun(const QString &folder, const QString &source, const Note &note)
    : folder(folder), source(source), note(note)
{
}

// A file the calculator would show as an empty table, or with rows that give
// no figure, is not the clinic's statistics: refused before any write. The
// bytes checked are the ones installed.
QString InstallRun::tableProblem(const QString &name, QByteArray *bytes) const
{
    const QString path = nativeFilePath(source, name);
    const StatisticsRead read = readStatisticsFile(QDir(source).filePath(name));
    *bytes = read.bytes;
    const StatisticsDiagnosis &found = read.diagnosis;
    if (found.notRegularFile)
        return tr("%1 — не обычный файл, а канал, устройство или ссылка на них.").arg(path);
    if (found.tooLarge)
        return tr("%1 больше %2 МБ — это не таблица статистики.")
            .arg(path)
            .arg(MaxStatisticsFileBytes / (1024 * 1024));
    if (found.status == StatisticsDiagnosis::Status::NotReadable)
        return tr("%1 не удаётся прочитать.").arg(path);
    if (found.status != StatisticsDiagnosis::Status::Loaded || found.spreadsheetExport)
        return tr("%1 — не таблица статистики: в нём нет строк, которые читает калькулятор.")
            .arg(path);
    if (found.unusableRows > 0)
        return tr("%1 — не таблица статистики: строка %2 не даёт процента ни для какого "
                  "диаметра.")
            .arg(path)
            .arg(found.firstUnusableLine);
    // The calculator would show the row without its counts; installed, they
    // would stand as proof of a figure they contradict.
    if (found.malformedEvidenceRows > 0) {
        const StatisticsRow &row = read.file.rows.at(found.firstMalformedEvidenceRow);
        return tr("%1, строка %2 (%3 мм — %4 %): %5")
            .arg(path, QString::number(row.line), row.diameter, row.percentage,
                 countsDisagreementText());
    }
    return {};
}

QString InstallRun::allowedFolderProblem(const QString &folder)
{
    if (!qEnvironmentVariableIsSet("PKEXEC_UID"))
        return {};
    const QString refused
        = tr("с правами администратора через pkexec таблицы устанавливаются только в %1.")
              .arg(PackageFolder);
    if (QFileInfo(folder).canonicalFilePath() != PackageFolder)
        return refused;
    // The folder alone is not enough: an entry in it could lead anywhere.
    for (const QString &name : TableNames) {
        const QFileInfo entry(QDir(folder).filePath(name));
        if (entry.isSymLink()
            || (entry.exists() && QFileInfo(entry.canonicalFilePath()).path() != PackageFolder))
            return refused + QLatin1Char(' ')
                + tr("%1 ведёт за пределы этой папки.").arg(nativeFilePath(folder, name));
    }
    return {};
}

int InstallRun::gather(QVector<OutputFile> &files, QString &reason) const
{
    reason = allowedFolderProblem(folder);
    if (!reason.isEmpty())
        return StatsRun::UsageError;
    if (!QFileInfo(source).isDir()) {
        reason = tr("папки %1 с таблицами нет.").arg(QDir::toNativeSeparators(source));
        return StatsRun::LogUnreadable;
    }
    for (const QString &name : TableNames) {
        if (!QFileInfo::exists(QDir(source).filePath(name)))
            continue;
        QByteArray bytes;
        reason = tableProblem(name, &bytes);
        if (!reason.isEmpty())
            return StatsRun::LogUnreadable;
        files.append({name, bytes});
    }
    if (files.isEmpty()) {
        reason = tr("в папке %1 нет ни Statistics_1.txt, ни Statistics_2.txt.")
                     .arg(QDir::toNativeSeparators(QFileInfo(source).absoluteFilePath()));
        return StatsRun::NoCases;
    }
    return StatsRun::Written;
}

int InstallRun::exec() const
{
    QVector<OutputFile> files;
    QString reason;
    int status = gather(files, reason);
    const QString nothing = QLatin1Char(' ') + tr("Ничего не установлено.");
    if (status != StatsRun::Written) {
        printError(QStringLiteral("velmira-stats: ") + reason + nothing + QLatin1Char('\n'));
        return status;
    }
    QString said;
    status = put(folder, files, note, &said);
    if (status != StatsRun::Written) {
        printError(QStringLiteral("velmira-stats: ") + said + nothing + QLatin1Char('\n'));
        return status;
    }
    printOut(said + QLatin1Char('\n'));
    return StatsRun::Written;
}

int InstallRun::put(const QString &folder, QVector<OutputFile> files, const Note &note,
                    QString *said)
{
    OutputFolder target(folder, QStringLiteral("--install"));
    if (target.holdsAlready(files)) {
        *said = unchangedText(target.nativePath());
        return StatsRun::Written;
    }
    QString error;
    const ReleaseHistory history = ReleaseHistory::read(folder, &error);
    if (!error.isEmpty()) {
        *said = error;
        return StatsRun::LogUnreadable;
    }
    // The release names every table the folder holds after it, the ones left
    // alone included, so that going back to it gives the whole set.
    QMap<QString, QByteArray> after;
    for (const QString &name : TableNames) {
        QFile present(currentFilePath(QDir(folder).filePath(name)));
        if (QFileInfo(present.fileName()).isFile() && present.open(QIODevice::ReadOnly))
            after.insert(name, present.read(MaxStatisticsFileBytes + 1));
    }
    for (const OutputFile &file : files)
        after.insert(file.name, file.bytes);
    Release release = history.next(after);
    if (!note.action.isEmpty())
        release.action = note.action;
    release.approvedBy = note.approvedBy;
    release.reason = note.reason;
    files.append({ReleaseHistory::FileName, history.appended(release)});
    QStringList kept;
    error = target.write(files, true, &kept);
    if (!error.isEmpty()) {
        *said = error;
        return target.wasLocked() ? StatsRun::FolderLocked : StatsRun::NotWritten;
    }
    // The history's own copy is kept too, but it is no table to speak of.
    files.removeLast();
    kept.erase(
        std::remove_if(kept.begin(), kept.end(),
                       [](const QString &line) { return line.contains(ReleaseHistory::FileName); }),
        kept.end());
    *said = installedText(target.nativePath(), files, kept) + QLatin1Char('\n')
        + tr("В историю выпусков (%1) записан %2.")
              .arg(ReleaseHistory::FileName, ReleaseHistory::describe(release));
    return StatsRun::Written;
}

QString InstallRun::installedText(const QString &folder, const QVector<OutputFile> &files,
                                  const QStringList &kept)
{
    QStringList names;
    for (const OutputFile &file : files)
        names.append(file.name);
    QString text = tr("Установлены в папку %1: %2.").arg(folder, names.join(QStringLiteral(", ")));
    for (const QString &line : kept)
        text += QLatin1Char('\n') + line.left(1).toUpper() + line.mid(1) + QLatin1Char('.');
    return text + QLatin1Char('\n') + tr("Калькулятор прочитает их при следующем запуске.");
}

QString InstallRun::unchangedText(const QString &folder)
{
    return tr("В папке %1 уже эти же таблицы, байт в байт: ничего не изменено, копии прежних не "
              "сделаны.")
        .arg(folder);
}
