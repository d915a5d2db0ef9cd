#ifndef VELMIRA_INSTALLRUN_H
#define VELMIRA_INSTALLRUN_H

#include "outputfolder.h"
#include "releasehistory.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// `velmira-stats --install FOLDER SOURCE`: the tables made earlier in SOURCE
// into the folder the calculator reads, with the output folder's rules (the
// previous files kept beside under time-stamped names, all or nothing). Each
// table is read as the calculator reads it before anything is written, so
// that a wrong file can never replace the clinic's table. The keeper's
// window runs it elevated when that folder needs administrator rights.
class InstallRun {
    Q_DECLARE_TR_FUNCTIONS(InstallRun)

public:
    // What an install records beside the tables, as the keeper gives it.
    struct Note {
        QString action; // empty for an install; "возврат к выпуску N" for a restore
        QString approvedBy;
        QString reason;
    };

    InstallRun(const QString &folder, const QString &source, const Note &note = {});
    int exec() const;

    // Puts the tables into the folder as a release recorded in its history,
    // the command's rules and messages for the window as for the command:
    // nothing written when the folder holds them already. Returns the exit
    // status; *said is the message, for the output or as the error.
    static int put(const QString &folder, QVector<OutputFile> files, const Note &note,
                   QString *said);
    // Why the elevated command may not write into the folder; empty when it may.
    static QString allowedFolderProblem(const QString &folder);

    // The tables found in the source folder, each checked; returns the exit
    // status (StatsRun::Written when all can be installed) and, on failure,
    // the reason in Russian.
    int gather(QVector<OutputFile> &files, QString &reason) const;

    // What an install says, from the command and the window alike: the files
    // written and the old ones kept, or that the folder held them already.
    static QString installedText(const QString &folder, const QVector<OutputFile> &files,
                                 const QStringList &kept);
    static QString unchangedText(const QString &folder);

private:
    QString tableProblem(const QString &name, QByteArray *bytes) const;

    QString folder;
    QString source;
    Note note;
};

#endif // VELMIRA_INSTALLRUN_H
