#include "pendingreplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray JournalHeader = QByteArrayLiteral("velmira-stats replace 1\n");

// Only bare names: a journal can never point outside its folder.
bool isBareName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && name != QLatin1String(".") && name != QLatin1String("..");
}

} // namespace

QString pendingFolder(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral(".velmira-stats.new"));
}

QString pendingJournal(const QString &folder)
{
    return QDir(pendingFolder(folder)).filePath(QStringLiteral("journal"));
}

QByteArray pendingJournalBytes(const QVector<PendingEntry> &entries)
{
    QByteArray bytes = JournalHeader;
    for (const PendingEntry &entry : entries)
        bytes += entry.name.toUtf8() + '\t' + entry.kept.toUtf8() + '\n';
    return bytes;
}

QVector<PendingEntry> pendingEntries(const QString &folder)
{
    const QFileInfo staging(pendingFolder(folder));
    if (staging.isSymLink() || !staging.isDir())
        return {};
    QFile file(pendingJournal(folder));
    if (QFileInfo(file.fileName()).isSymLink() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(64 * 1024);
    if (!bytes.startsWith(JournalHeader))
        return {};
    QVector<PendingEntry> entries;
    for (const QByteArray &line : bytes.mid(JournalHeader.size()).split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        const PendingEntry entry {QString::fromUtf8(fields.value(0)),
                                  QString::fromUtf8(fields.value(1))};
        if (fields.size() != 2 || !isBareName(entry.name)
            || (!entry.kept.isEmpty() && !isBareName(entry.kept)))
            return {};
        entries.append(entry);
    }
    return entries;
}

QString currentFilePath(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    for (const PendingEntry &entry : pendingEntries(folder)) {
        const QString staged = QDir(pendingFolder(folder)).filePath(entry.name);
        if (entry.name == info.fileName() && QFileInfo(staged).isFile()
            && !QFileInfo(staged).isSymLink())
            return staged;
    }
    return path;
}
