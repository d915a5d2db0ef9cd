#ifndef VELMIRA_RESTORERUN_H
#define VELMIRA_RESTORERUN_H

#include "installrun.h"
#include "releasehistory.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// `velmira-stats --restore FOLDER [RELEASE]`: one step back, or to the
// release named, from the folder's own history. The tables of that release
// are found beside the current ones (every install keeps the files it
// replaces) by their SHA-256, and put back as a release of their own
// ("возврат к выпуску 2"), all or nothing, as an install is.
class RestoreRun {
    Q_DECLARE_TR_FUNCTIONS(RestoreRun)

public:
    // release: 0 for the one the current release replaced.
    RestoreRun(const QString &folder, int release, const InstallRun::Note &note = {});
    int exec() const;
    // The same for the window: the exit status, and *said the message.
    static int restore(const QString &folder, int release, const InstallRun::Note &note,
                       QString *said);

    // The release's tables found in the folder; the exit status, and on a
    // failure the reason in Russian.
    int gather(const ReleaseHistory &history, QVector<OutputFile> &files, QString &reason,
               int *number) const;

private:
    QByteArray findTable(const QString &name, const QByteArray &sha256) const;
    static int refused(int status, const QString &reason);

    QString folder;
    int release;
    InstallRun::Note note;
};

#endif // VELMIRA_RESTORERUN_H
