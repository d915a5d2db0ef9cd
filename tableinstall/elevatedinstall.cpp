#include "elevatedinstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace {

#ifdef Q_OS_WIN
// One argument of a Windows command line: quoted, with the backslashes before
// the closing quote doubled so that they stay backslashes.
QString quoted(const QString &argument)
{
    QString text = argument;
    int trailing = 0;
    while (trailing < text.size() && text.at(text.size() - 1 - trailing) == QLatin1Char('\\'))
        ++trailing;
    return QLatin1Char('"') + text + QString(trailing, QLatin1Char('\\')) + QLatin1Char('"');
}
#else
// One argument for a POSIX shell.
QString quoted(const QString &argument)
{
    QString text = argument;
    text.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The polkit action names this path; only the package's command is trusted.
const QString PackageProgram = QStringLiteral("/usr/bin/velmira-stats");
const QString PolicyFile
    = QStringLiteral("/usr/share/polkit-1/actions/org.example.velmira.install-tables.policy");
#endif

} // namespace

ElevatedInstall::ElevatedInstall(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_WIN
    timer.setInterval(200);
    connect(&timer, &QTimer::timeout, this, &ElevatedInstall::poll);
#endif
}

ElevatedInstall::~ElevatedInstall()
{
#ifdef Q_OS_WIN
    if (process)
        CloseHandle(process);
#endif
}

QString ElevatedInstall::program()
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()
                                    + QStringLiteral("/velmira-stats.exe"));
#else
    return QFileInfo(PackageProgram).isExecutable()
        ? PackageProgram
        : QCoreApplication::applicationDirPath() + QStringLiteral("/velmira-stats");
#endif
}

bool ElevatedInstall::available()
{
#ifdef Q_OS_WIN
    return QFileInfo(program()).isFile();
#else
    return QFileInfo(PackageProgram).isExecutable() && QFileInfo::exists(PolicyFile)
        && !QStandardPaths::findExecutable(QStringLiteral("pkexec")).isEmpty();
#endif
}

namespace {

// Options as they are, values quoted where they must be.
QString joined(const QStringList &arguments)
{
    QString line;
    for (const QString &argument : arguments)
        line += QLatin1Char(' ')
            + (argument.startsWith(QLatin1String("--")) ? argument : quoted(argument));
    return line;
}

} // namespace

QString ElevatedInstall::commandLine(const QStringList &arguments)
{
#ifdef Q_OS_WIN
    return quoted(program()) + joined(arguments);
#else
    return QStringLiteral("sudo ") + quoted(program()) + joined(arguments);
#endif
}

void ElevatedInstall::finish(Outcome outcome, int exitCode, const QString &output)
{
    emit finished(outcome, exitCode, output);
}

#ifdef Q_OS_WIN

void ElevatedInstall::start(const QStringList &arguments)
{
    const QString file = program();
    const QString parameters = joined(arguments).mid(1);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = reinterpret_cast<const wchar_t *>(file.utf16());
    info.lpParameters = reinterpret_cast<const wchar_t *>(parameters.utf16());
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) {
        const bool cancelled = GetLastError() == ERROR_CANCELLED;
        finish(cancelled ? Outcome::Refused : Outcome::NotStarted, -1, {});
        return;
    }
    if (!info.hProcess) {
        finish(Outcome::NotStarted, -1, {});
        return;
    }
    process = info.hProcess;
    timer.start();
}

// Polled rather than waited for, so that the window keeps painting meanwhile.
void ElevatedInstall::poll()
{
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0)
        return;
    timer.stop();
    DWORD exitCode = 0;
    const bool known = GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    process = nullptr;
    finish(known ? Outcome::Exited : Outcome::NotStarted, known ? int(exitCode) : -1, {});
}

#else

void ElevatedInstall::start(const QStringList &arguments)
{
    delete process;
    process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(Outcome::NotStarted, -1, process->errorString());
    });
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this](int exitCode, QProcess::ExitStatus) { processFinished(exitCode); });
    process->start(QStringLiteral("pkexec"), QStringList {PackageProgram} + arguments);
}

// pkexec's own statuses: 126 the dialog was dismissed or the user not
// authorised, 127 the authentication failed; velmira-stats never uses either.
void ElevatedInstall::processFinished(int exitCode)
{
    const QString output = QString::fromUtf8(process->readAll()).trimmed();
    if (process->exitStatus() != QProcess::NormalExit)
        finish(Outcome::NotStarted, -1, output);
    else if (exitCode == 126 || exitCode == 127)
        finish(Outcome::Refused, exitCode, output);
    else
        finish(Outcome::Exited, exitCode, output);
}

#endif
