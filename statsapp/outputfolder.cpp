#include "outputfolder.h"

#include "filewrite.h"
#include "pendingreplace.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

namespace {

const QString LockName = QStringLiteral(".velmira-stats.lock");

// A name taken by anything, a dangling link included (QFileInfo::exists follows links).
bool taken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Puts from under the name to, replacing what is there in one step: the name
// never stands empty.
bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// The previous file under its kept name too, before the new one takes its
// name: a hard link where the disk has them, which needs no room, else a copy.
QString keepAlso(const QString &path, const QString &kept)
{
#ifndef Q_OS_WIN
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()) == 0)
        return {};
    if (errno == EEXIST)
        return FileWrite::reason(errno, {});
#endif
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly))
        return old.errorString();
    return FileWrite::whole(kept, old.readAll());
}

} // namespace

OutputFolder::OutputFolder(const QString &path, const QString &option)
    : folder(path), option(option)
{
}

QString OutputFolder::nativePath() const
{
    return QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
}

QString OutputFolder::filePath(const QString &name) const
{
    return QDir(folder).filePath(name);
}

bool OutputFolder::holdsAlready(const QVector<OutputFile> &files) const
{
    // A set a killed writer left, or a writer at work: write() settles it first.
    if (taken(pendingFolder(folder)) || taken(filePath(LockName)))
        return false;
    for (const OutputFile &file : files) {
        QFile present(currentFilePath(filePath(file.name)));
        if (!QFileInfo(present.fileName()).isFile() || present.size() != file.bytes.size()
            || !present.open(QIODevice::ReadOnly) || present.readAll() != file.bytes)
            return false;
    }
    return !files.isEmpty();
}

QString OutputFolder::check(const QVector<OutputFile> &files, bool replace) const
{
    const QFileInfo info(folder);
    if (!info.exists())
        return tr("папки %1 нет. Создайте её или укажите другую в %2.").arg(nativePath(), option);
    if (!info.isDir())
        return tr("%1 — не папка. Укажите папку в %2.").arg(nativePath(), option);
    if (!info.isWritable())
        return tr("в папку %1 нельзя записать файлы: нет прав на запись.").arg(nativePath());
    QStringList existing;
    const QFileInfo staging(pendingFolder(folder));
    if (staging.isSymLink() || (staging.exists() && !staging.isDir()))
        return tr("в папке %1 под именем %2 находится не папка velmira-stats. Удалите это и "
                  "повторите.")
            .arg(nativePath(), staging.fileName());
    for (const OutputFile &file : files) {
        const QFileInfo target(filePath(file.name));
        // A link is neither followed nor replaced: it could lead anywhere.
        if (target.isSymLink())
            return tr("в папке %1 %2 — ссылка на другой файл, а ссылки не заменяются. Удалите "
                      "её и повторите.")
                .arg(nativePath(), file.name);
        if (target.exists() && !target.isFile())
            return tr("в папке %1 под именем %2 находится не файл.").arg(nativePath(), file.name);
        if (target.exists())
            existing.append(file.name);
    }
    if (!existing.isEmpty() && !replace)
        return tr("в папке %1 уже есть %2. Чтобы заменить, добавьте --replace: прежние файлы "
                  "останутся рядом под именами со временем их изменения.")
            .arg(nativePath(), existing.join(QStringLiteral(", ")));
    return {};
}

QString OutputFolder::keptName(const QString &name) const
{
    const QFileInfo info(filePath(name));
    const QString time = info.lastModified().toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString kept = info.completeBaseName() + QLatin1Char('.') + time + suffix;
    for (int number = 2; taken(filePath(kept)); ++number)
        kept = info.completeBaseName() + QLatin1Char('.') + time + QLatin1Char('-')
            + QString::number(number) + suffix;
    return kept;
}

QString OutputFolder::lockProblem(QLockFile &lock)
{
    // Longer than any write takes; a holder that died is noticed at once
    // on this computer.
    lock.setStaleLockTime(10 * 60 * 1000);
    errno = 0;
    if (lock.tryLock(0))
        return {};
    int error = errno;
    qint64 pid = 0;
    QString host;
    QString program;
    // A lock file without its holder's line is one whose writer was killed
    // between creating and filling it (a live one fills it at once).
    if (lock.error() == QLockFile::LockFailedError && !lock.getLockInfo(&pid, &host, &program)
        && !lock.tryLock(200) && !lock.getLockInfo(&pid, &host, &program)
        && lock.removeStaleLockFile() && lock.tryLock(0))
        return {};
    if (lock.isLocked())
        return {};
    if (lock.error() != QLockFile::LockFailedError) {
        // QLockFile keeps no reason; a disk without room for its line is the likely one.
        const QStorageInfo disk(folder);
        if (error == 0 && disk.isValid() && disk.bytesAvailable() < 1024)
            error = ENOSPC;
        return tr("в папку %1 не удалось записать файл блокировки %2: %3.")
            .arg(nativePath(), LockName, FileWrite::reason(error, tr("нет прав на запись")));
    }
    locked = true;
    if (!lock.getLockInfo(&pid, &host, &program))
        return tr("папку %1 сейчас изменяет другая программа. Дождитесь её окончания и "
                  "повторите.")
            .arg(nativePath());
    return tr("папку %1 сейчас изменяет другая программа: %2 (процесс %3 на компьютере %4). "
              "Дождитесь её окончания и повторите.")
        .arg(nativePath(), program.isEmpty() ? tr("без имени") : program)
        .arg(pid)
        .arg(host);
}

void OutputFolder::clearStaging()
{
    QDir(pendingFolder(folder)).removeRecursively();
}

// Each new file whole in the staging folder, then the journal that makes
// them the folder's set.
QString OutputFolder::stage(const QVector<OutputFile> &files, const QVector<PendingEntry> &entries)
{
    errno = 0;
    if (!QDir(folder).mkdir(QFileInfo(pendingFolder(folder)).fileName()))
        return tr("не удалось создать папку %1: %2.")
            .arg(QDir::toNativeSeparators(pendingFolder(folder)), FileWrite::reason(errno, {}));
    for (const OutputFile &file : files) {
        const QString error
            = FileWrite::whole(QDir(pendingFolder(folder)).filePath(file.name), file.bytes);
        if (!error.isEmpty())
            return tr("не удалось записать %1: %2.").arg(file.name, error);
    }
    const QString error = FileWrite::whole(pendingJournal(folder), pendingJournalBytes(entries));
    if (!error.isEmpty())
        return tr("не удалось записать список заменяемых файлов: %1.").arg(error);
    return {};
}

// Idempotent, so that a run killed half-way is completed by the next one:
// a staged file still there has not yet taken its name.
QString OutputFolder::putInPlace(const PendingEntry &entry)
{
    const QString staged = QDir(pendingFolder(folder)).filePath(entry.name);
    if (!taken(staged))
        return {};
    const QString path = filePath(entry.name);
    if (!entry.kept.isEmpty() && taken(path) && !taken(filePath(entry.kept))) {
        const QString error = keepAlso(path, filePath(entry.kept));
        if (!error.isEmpty())
            return tr("не удалось сохранить прежний %1 как %2: %3.")
                .arg(entry.name, entry.kept, error);
    }
    if (!replaceFile(staged, path))
        return tr("не удалось поставить новый %1 на место прежнего: %2.")
            .arg(entry.name, FileWrite::reason(errno, {}));
    return {};
}

// A set a killed run left with its journal is put in place; one left
// without a journal was never the folder's, and is dropped.
QString OutputFolder::complete()
{
    if (!taken(pendingFolder(folder)))
        return {};
    for (const PendingEntry &entry : pendingEntries(folder)) {
        const QString error = putInPlace(entry);
        if (!error.isEmpty())
            return error;
    }
    QFile::remove(pendingJournal(folder));
    clearStaging();
    return {};
}

// Back to the old set: each new file returns to the staging folder before
// its old one takes its name again, and the journal goes last, so that a
// kill here too leaves a set the next run completes.
void OutputFolder::takeBack(const QVector<PendingEntry> &done, const PendingEntry &failed)
{
    if (!failed.kept.isEmpty() && taken(filePath(failed.kept))
        && taken(QDir(pendingFolder(folder)).filePath(failed.name)))
        QFile::remove(filePath(failed.kept));
    for (auto entry = done.rbegin(); entry != done.rend(); ++entry) {
        const QString staged = QDir(pendingFolder(folder)).filePath(entry->name);
        replaceFile(filePath(entry->name), staged);
        if (!entry->kept.isEmpty())
            replaceFile(filePath(entry->kept), filePath(entry->name));
    }
    QFile::remove(pendingJournal(folder));
    clearStaging();
}

QString OutputFolder::write(const QVector<OutputFile> &files, bool replace, QStringList *keptAs)
{
    locked = false;
    QString problem = check(files, replace);
    if (!problem.isEmpty())
        return problem;
    // Held until every file is in place: a second writer would otherwise
    // mix its files with these, or take back files it never wrote.
    QLockFile lock(filePath(LockName));
    problem = lockProblem(lock);
    if (problem.isEmpty())
        problem = complete();
    // What a completed set changed is judged again.
    if (problem.isEmpty())
        problem = check(files, replace);
    if (!problem.isEmpty())
        return problem;

    const QString untouched
        = QLatin1Char(' ') + tr("Все файлы в папке %1 оставлены как были.").arg(nativePath());
    QVector<PendingEntry> entries;
    for (const OutputFile &file : files)
        entries.append({file.name, taken(filePath(file.name)) ? keptName(file.name) : QString()});
    const QString error = stage(files, entries);
    if (!error.isEmpty()) {
        clearStaging();
        return error + untouched;
    }
    QVector<PendingEntry> done;
    for (const PendingEntry &entry : entries) {
        const QString error = putInPlace(entry);
        if (!error.isEmpty()) {
            takeBack(done, entry);
            return error + untouched;
        }
        done.append(entry);
    }
    QFile::remove(pendingJournal(folder));
    clearStaging();
    for (const PendingEntry &entry : entries) {
        if (!entry.kept.isEmpty())
            keptAs->append(tr("прежний %1 сохранён как %2").arg(entry.name, entry.kept));
    }
    return {};
}
