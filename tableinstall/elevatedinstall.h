#ifndef VELMIRA_ELEVATEDINSTALL_H
#define VELMIRA_ELEVATEDINSTALL_H

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QProcess;

// `velmira-stats --install FOLDER SOURCE` (or --restore) with administrator rights, without
// blocking the window: on Windows through the elevation prompt (the "runas"
// verb), its process polled by a timer; on Linux through pkexec and the
// Debian package's polkit action. Kept small on purpose: no CI can answer an
// elevation prompt, so what it does is only the start and the exit code.
class ElevatedInstall : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Exited, // the command ran; its exit status says how it went
        Refused, // the prompt was cancelled or the user not authorised
        NotStarted // no way to run it elevated here
    };

    explicit ElevatedInstall(QObject *parent = nullptr);
    ~ElevatedInstall() override;

    // Whether this installation can ask for administrator rights at all.
    static bool available();
    // The command as the keeper runs it by hand, in their shell's quoting.
    static QString commandLine(const QStringList &arguments);
    // arguments: velmira-stats', "--install FOLDER SOURCE" or "--restore FOLDER N".
    void start(const QStringList &arguments);

signals:
    // output: what the command printed, where it can be read (Linux).
    void finished(ElevatedInstall::Outcome outcome, int exitCode, const QString &output);

private:
    static QString program();
    void finish(Outcome outcome, int exitCode, const QString &output);
#ifdef Q_OS_WIN
    void poll();
    void *process = nullptr; // the elevated process' handle
    QTimer timer;
#else
    void processFinished(int exitCode);
    QProcess *process = nullptr;
#endif
};

#endif // VELMIRA_ELEVATEDINSTALL_H
