#include "tableinstaller.h"

#include "calculatorfolder.h"
#include "installrun.h"
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
    return ElevatedInstall::commandLine(folder, source());
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

void TableInstaller::install(const QVector<OutputFile> &files, const QString &folder)
{
    target = folder;
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
    if (!ElevatedInstall::available()) {
        // The keeper runs the command by hand: the files must outlive this window.
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
    elevated->start(folder, staged->path());
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
