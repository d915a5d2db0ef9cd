#ifndef VELMIRA_TABLEINSTALLER_H
#define VELMIRA_TABLEINSTALLER_H

#include "elevatedinstall.h"
#include "installrun.h"
#include "outputfolder.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class QTemporaryDir;

// The folder the calculator reads its tables from, as this installation has it.
struct CalculatorFolder {
    QString path; // empty when the keeper has to choose one
    // Writing there needs administrator rights: the install button shows the
    // platform's shield, and the files go through an elevated velmira-stats.
    bool needsElevation = false;
};

// On Windows %ProgramData%\Velmira; from the Debian package /etc/velmira;
// otherwise none.
CalculatorFolder calculatorFolder();

// Installs tables into a folder with velmira-stats' rules: nothing replaced
// without confirmation (the caller asks first), the previous files kept
// beside the new ones under time-stamped names, everything written whole or
// not at all. Where the folder needs administrator rights, an elevated
// `velmira-stats --install FOLDER SOURCE` does the writing (the Windows
// elevation prompt, or pkexec with the Debian package's polkit action); a
// refused or failed elevation changes nothing and says so.
class TableInstaller : public QObject {
    Q_OBJECT

public:
    explicit TableInstaller(QObject *parent = nullptr);

    // What the release records: who approved it and why.
    void setNote(const InstallRun::Note &note) { m_note = note; }
    // Starts installing; finished() follows, at once or after the elevated run.
    void install(const QVector<OutputFile> &files, const QString &folder);
    // Puts an earlier release back (release 0: the one the current replaced), the same way.
    void restore(const QString &folder, int release);
    // The exact command the keeper can run by hand when elevation is not possible.
    QString manualCommand(const QString &folder) const;

    ~TableInstaller() override;

signals:
    // message is in Russian: what was written and kept, or why nothing was.
    void finished(bool installed, const QString &message);

private:
    void writeHere(const QVector<OutputFile> &files, const QString &folder);
    void startElevated(const QString &folder);
    QStringList elevatedArguments(const QString &folder) const;
    bool stage(const QVector<OutputFile> &files);
    void elevatedFinished(ElevatedInstall::Outcome outcome, int exitCode, const QString &output);
    QString source() const;

    // The files for the elevated command, which runs as another user and so
    // reads them from a folder rather than from this process.
    std::unique_ptr<QTemporaryDir> staged;
    ElevatedInstall *elevated = nullptr;
    QString target;
    InstallRun::Note m_note;
    int m_restoreRelease = -1; // -1 while installing
};

#endif // VELMIRA_TABLEINSTALLER_H
