#include "restorerun.h"

#include "console.h"
#include "statisticsdiagnosis.h"
#include "statsrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

RestoreRun::RestoreRun(const QString &folder, int release, const InstallRun::Note &note)
    : folder(folder), release(release), note(note)
{
}

// The table by its name or under a name it was kept as, never through a
// link, whose content matches the release's SHA-256.
QByteArray RestoreRun::findTable(const QString &name, const QByteArray &sha256) const
{
    const QString base = QFileInfo(name).completeBaseName();
    const QStringList candidates = QDir(folder).entryList(
        {name, base + QStringLiteral(".*.txt")}, QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QString &candidate : candidates) {
        QFile file(QDir(folder).filePath(candidate));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.read(MaxStatisticsFileBytes + 1);
        if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() == sha256)
            return bytes;
    }
    return QByteArray();
}

int RestoreRun::gather(const ReleaseHistory &history, QVector<OutputFile> &files, QString &reason,
                       int *number) const
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    const Release *current = history.current();
    if (!current) {
        reason = tr("в папке %1 нет истории выпусков (%2): вернуть можно только выпуски, "
                    "установленные этой версией или позже. Прежние таблицы лежат рядом под "
                    "именами со временем их замены.")
                     .arg(shown, ReleaseHistory::FileName);
        return StatsRun::NoCases;
    }
    *number = release > 0 ? release : current->replaces;
    const Release *target = history.find(*number);
    if (!target) {
        reason = release > 0
            ? tr("выпуска %1 в истории папки %2 нет.").arg(release).arg(shown)
            : tr("выпуск %1 ничего не заменил: возвращаться не к чему.").arg(current->number);
        return StatsRun::UsageError;
    }
    for (auto table = target->sha256.cbegin(); table != target->sha256.cend(); ++table) {
        const QByteArray bytes = findTable(table.key(), table.value());
        if (bytes.isEmpty()) {
            reason = tr("файла %1 выпуска %2 (SHA-256 %3) в папке %4 нет: его удалили или "
                        "изменили.")
                         .arg(table.key())
                         .arg(*number)
                         .arg(QString::fromLatin1(table.value().left(12)) + QStringLiteral("…"),
                              shown);
            return StatsRun::NoCases;
        }
        files.append({table.key(), bytes});
    }
    return StatsRun::Written;
}

int RestoreRun::exec() const
{
    QString said;
    const int status = restore(folder, release, note, &said);
    if (status != StatsRun::Written)
        return refused(status, said);
    printOut(said + QLatin1Char('\n'));
    return StatsRun::Written;
}

int RestoreRun::restore(const QString &folder, int release, const InstallRun::Note &note,
                        QString *said)
{
    *said = InstallRun::allowedFolderProblem(folder);
    if (!said->isEmpty())
        return StatsRun::UsageError;
    const ReleaseHistory history = ReleaseHistory::read(folder, said);
    if (!said->isEmpty())
        return StatsRun::LogUnreadable;
    QVector<OutputFile> files;
    int number = 0;
    const int status = RestoreRun(folder, release).gather(history, files, *said, &number);
    if (status != StatsRun::Written)
        return status;
    // The history's words are its own, whatever the interface's language.
    InstallRun::Note restore = note;
    restore.action = QStringLiteral("возврат к выпуску %1").arg(number);
    return InstallRun::put(folder, files, restore, said);
}

int RestoreRun::refused(int status, const QString &reason)
{
    printError(QStringLiteral("velmira-stats: ") + reason + QLatin1Char(' ')
               + tr("Ничего не изменено.") + QLatin1Char('\n'));
    return status;
}
