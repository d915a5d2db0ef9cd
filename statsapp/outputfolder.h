#ifndef VELMIRA_OUTPUTFOLDER_H
#define VELMIRA_OUTPUTFOLDER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// A file to write, computed whole in memory beforehand.
struct OutputFile {
    QString name; // a bare file name
    QByteArray bytes;
};

// The folder velmira-stats writes into, where nothing may be lost: a file
// that exists is replaced only when asked, and then kept beside the new one
// under a name that shows its time; each file is written whole or not at
// all; and when any write fails, every file is put back as it was.
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

    // "Statistics_1.2026-12-09T10-15-00.txt" for an existing Statistics_1.txt,
    // from its modification time; a number follows when that name is taken.
    QString keptName(const QString &name) const;
    QString nativePath() const;

private:
    struct Step {
        QString name;
        QString kept; // empty when there was no file before
        bool written = false;
    };

    QString filePath(const QString &name) const;
    QString writeOne(const OutputFile &file, Step &step);
    void undo(const QVector<Step> &steps);

    QString folder;
    QString option;
};

#endif // VELMIRA_OUTPUTFOLDER_H
