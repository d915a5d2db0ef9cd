#include "tableinstaller.h"

#include "calculatorfolder.h"
#include "installrun.h"
#include "restorerun.h"
#include "statsrun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QString nativeFolder(const QString &folder)
{
    return QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
}

} // namespace

TableInstaller::TableInstaller(QObject *parent) : QObject(parent) { }

TableInstaller::~TableInstaller() = default;

QString TableInstaller::source() const
{
    return staged ? staged->path() : QStringLiteral(".");
}

QString TableInstaller::manualCommand(const QString &folder) const
{
    return ElevatedInstall::commandLine(elevatedArguments(folder));
}

// The release's note first: the staged folder stays the command's last word.
QStringList TableInstaller::elevatedArguments(const QString &folder) const
{
    QStringList arguments;
    if (!m_note.approvedBy.isEmpty())
        arguments << QStringLiteral("--approved-by") << m_note.approvedBy;
    if (!m_note.reason.isEmpty())
        arguments << QStringLiteral("--reason") << m_note.reason;
    if (m_restoreRelease < 0)
        return arguments << QStringLiteral("--install") << QDir::toNativeSeparators(folder)
                         << QDir::toNativeSeparators(source());
    arguments << QStringLiteral("--restore") << QDir::toNativeSeparators(folder);
    if (m_restoreRelease > 0)
        arguments << QString::number(m_restoreRelease);
    return arguments;
}

// A folder this user can write, or one that is missing (OutputFolder says
// so): written here, with the rules of the command.
void TableInstaller::writeHere(const QVector<OutputFile> &files, const QString &folder)
{
    QString said;
    if (InstallRun::put(folder, files, m_note, &said) != StatsRun::Written) {
        emit finished(false, said + QLatin1Char(' ') + tr("Таблицы не установлены."));
        return;
    }
    emit finished(true, said);
}

bool TableInstaller::stage(const QVector<OutputFile> &files)
{
    staged = std::make_unique<QTemporaryDir>();
    QStringList kept;
    return staged->isValid() && OutputFolder(staged->path()).write(files, false, &kept).isEmpty();
}

void TableInstaller::restore(const QString &folder, int release)
{
    target = folder;
    m_restoreRelease = release;
    staged.reset();
    if (canCreateFilesIn(folder) || !QFileInfo(folder).isDir()) {
        QString said;
        const bool done = RestoreRun::restore(folder, release, m_note, &said) == StatsRun::Written;
        emit finished(done, done ? said : said + QLatin1Char(' ') + tr("Ничего не изменено."));
        return;
    }
    startElevated(folder);
}

void TableInstaller::install(const QVector<OutputFile> &files, const QString &folder)
{
    target = folder;
    m_restoreRelease = -1;
    if (canCreateFilesIn(folder) || !QFileInfo(folder).isDir()) {
        writeHere(files, folder);
        return;
    }
    if (!stage(files)) {
        emit finished(false,
                      tr("Не удалось подготовить таблицы во временной папке. "
                         "В папке %1 ничего не изменено.")
                          .arg(nativeFolder(folder)));
        return;
    }
    startElevated(folder);
}

void TableInstaller::startElevated(const QString &folder)
{
    if (!ElevatedInstall::available()) {
        // The keeper runs the command by hand: the files must outlive this window.
        if (staged)
            staged->setAutoRemove(false);
        emit finished(false,
                      tr("Для записи в папку %1 нужны права администратора, а запросить "
                         "их здесь нельзя. Ничего не изменено. Выполните от имени "
                         "администратора:\n%2")
                          .arg(nativeFolder(folder), manualCommand(folder)));
        return;
    }
    if (!elevated) {
        elevated = new ElevatedInstall(this);
        connect(elevated, &ElevatedInstall::finished, this,
                [this](ElevatedInstall::Outcome outcome, int exitCode, const QString &output) {
                    elevatedFinished(outcome, exitCode, output);
                });
    }
    elevated->start(elevatedArguments(folder));
}

void TableInstaller::elevatedFinished(ElevatedInstall::Outcome outcome, int exitCode,
                                      const QString &output)
{
    const QString folder = nativeFolder(target);
    switch (outcome) {
    case ElevatedInstall::Outcome::Refused:
        emit finished(false,
                      tr("Права администратора не получены: таблицы не установлены, "
                         "в папке %1 ничего не изменено.")
                          .arg(folder));
        break;
    case ElevatedInstall::Outcome::NotStarted:
        if (staged)
            staged->setAutoRemove(false);
        emit finished(false,
                      tr("Не удалось запустить установку с правами администратора. "
                         "Ничего не изменено. Выполните от имени администратора:\n%1")
                          .arg(manualCommand(target)));
        break;
    case ElevatedInstall::Outcome::Exited:
        if (exitCode == 0)
            emit finished(true,
                          output.isEmpty()
                              ? tr("Установлены в папку %1.\nКалькулятор прочитает их при "
                                   "следующем запуске.")
                                    .arg(folder)
                              : output);
        else
            emit finished(false,
                          output.isEmpty()
                              ? tr("velmira-stats --install завершилась с кодом %1: таблицы не "
                                   "установлены, в папке %2 ничего не изменено.")
                                    .arg(exitCode)
                                    .arg(folder)
                              : output);
        break;
    }
    staged.reset();
}
