#include "installrun.h"

#include "console.h"
#include "figureprovenance.h"
#include "statisticsreader.h"
#include "statsrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

InstallRun::InstallRun(const QString &folder, const QString &source)
    : folder(folder), source(source)
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

QString InstallRun::allowedFolderProblem() const
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
    reason = allowedFolderProblem();
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
    const int status = gather(files, reason);
    const QString nothing = QLatin1Char(' ') + tr("Ничего не установлено.");
    if (status != StatsRun::Written) {
        printError(QStringLiteral("velmira-stats: ") + reason + nothing + QLatin1Char('\n'));
        return status;
    }
    OutputFolder target(folder, QStringLiteral("--install"));
    if (target.holdsAlready(files)) {
        printOut(unchangedText(target.nativePath()) + QLatin1Char('\n'));
        return StatsRun::Written;
    }
    QStringList kept;
    const QString error = target.write(files, true, &kept);
    if (!error.isEmpty()) {
        printError(QStringLiteral("velmira-stats: ") + error + nothing + QLatin1Char('\n'));
        return target.wasLocked() ? StatsRun::FolderLocked : StatsRun::NotWritten;
    }
    printOut(installedText(target.nativePath(), files, kept) + QLatin1Char('\n'));
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
