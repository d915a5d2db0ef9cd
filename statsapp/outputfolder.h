#ifndef VELMIRA_OUTPUTFOLDER_H
#define VELMIRA_OUTPUTFOLDER_H

#include "pendingreplace.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

class QLockFile;

// A file to write, computed whole in memory beforehand.
struct OutputFile {
    QString name; // a bare file name
    QByteArray bytes;
};

// The folder velmira-stats writes into, where nothing may be lost: a file
// that exists is replaced only when asked, and then kept beside the new one
// under a name that shows its time; the files are replaced as one set (see
// pendingreplace.h), so that a failure or a kill at any point leaves the old
// set or the new one, never a mix; one writer at a time holds the folder's
// lock; and a link in the folder is never followed nor replaced.
class OutputFolder {
    Q_DECLARE_TR_FUNCTIONS(OutputFolder)

public:
    // option is the command's option that names the folder, for its messages.
    explicit OutputFolder(const QString &path, const QString &option = QStringLiteral("--output"));

    // What stands in the way of writing the files, in Russian; empty when nothing.
    QString check(const QVector<OutputFile> &files, bool replace) const;
    // Writes the files; returns the error, empty on success. Of each file
    // replaced, keptAs gets "old name → kept name".
    QString write(const QVector<OutputFile> &files, bool replace, QStringList *keptAs);
    // Whether each file is already in the folder, byte for byte, as the
    // calculator reads it: writing them would change nothing but add backups.
    // Never while a set left by a killed writer, or a writer's lock, is there.
    bool holdsAlready(const QVector<OutputFile> &files) const;
    // Whether the last write failed because another program held the folder.
    bool wasLocked() const { return locked; }

    // "Statistics_1.2026-12-09T10-15-00.txt" for an existing Statistics_1.txt,
    // from its modification time; a number follows when that name is taken.
    QString keptName(const QString &name) const;
    QString nativePath() const;

private:
    QString filePath(const QString &name) const;
    QString lockProblem(QLockFile &lock);
    QString stage(const QVector<OutputFile> &files, const QVector<PendingEntry> &entries);
    QString putInPlace(const PendingEntry &entry);
    QString complete();
    void takeBack(const QVector<PendingEntry> &done, const PendingEntry &failed);
    void clearStaging();

    QString folder;
    QString option;
    bool locked = false;
};

#endif // VELMIRA_OUTPUTFOLDER_H
