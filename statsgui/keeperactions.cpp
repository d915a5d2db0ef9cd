#include "keeperactions.h"

#include "calculatorfolder.h"
#include "filewrite.h"
#include "releasehistory.h"
#include "statisticsreport.h"
#include "tableinstaller.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

KeeperActions::KeeperActions(QWidget *window)
    : QObject(window), m_window(window), m_installer(new TableInstaller(this))
{
    connect(m_installer, &TableInstaller::finished, this, &KeeperActions::installed);
}

void KeeperActions::setBuild(const TablesBuild &build, const QStringList &changes,
                             const std::optional<TablesValidation> &validation)
{
    m_build = build;
    m_changes = changes;
    m_validation = validation;
}

QByteArray KeeperActions::report() const
{
    return statisticsReportPdf(m_build.summary(), m_build.sheaths(), m_validation);
}

void KeeperActions::warn(const QString &text)
{
    QMessageBox::warning(m_window, tr("Velmira — статистика клиники"), text);
}

void KeeperActions::saveReport()
{
    const QString path = QFileDialog::getSaveFileName(
        m_window, tr("Сохранить отчёт"), QDir::home().filePath(statisticsReportFileName()),
        tr("Отчёт PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const QByteArray bytes = report();
    // Written whole or not at all, as every file of the command.
    const QString error = bytes.isEmpty() ? tr("отчёт не построен") : FileWrite::whole(path, bytes);
    if (!error.isEmpty()) {
        warn(tr("Отчёт не сохранён в %1: %2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_reportPath = path;
    emit reportSaved(path);
}

void KeeperActions::openReport()
{
    if (!m_reportPath.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_reportPath));
}

// Asks before anything is replaced; false when the keeper declines or the
// folder cannot take the files at all.
bool KeeperActions::confirmReplace(OutputFolder &folder, const QVector<OutputFile> &files)
{
    if (folder.check(files, false).isEmpty())
        return true;
    const QString problem = folder.check(files, true);
    if (!problem.isEmpty()) {
        warn(problem + QLatin1Char(' ') + tr("Ничего не записано."));
        return false;
    }
    return QMessageBox::question(
               m_window, tr("Сохранить таблицы"),
               tr("В папке %1 уже есть эти файлы. Заменить их? Прежние останутся рядом под "
                  "именами с датой и временем.")
                   .arg(folder.nativePath()))
        == QMessageBox::Yes;
}

QVector<OutputFile> KeeperActions::outputFiles() const
{
    QVector<OutputFile> files = m_build.tables();
    files.append({statisticsReportFileName(), report()});
    return files;
}

QString KeeperActions::saveTablesInto(const QString &path, bool replace, QStringList *kept) const
{
    return OutputFolder(path).write(outputFiles(), replace, kept);
}

void KeeperActions::saveTables()
{
    const QString path = QFileDialog::getExistingDirectory(m_window, tr("Сохранить таблицы"));
    if (path.isEmpty())
        return;
    OutputFolder folder(path);
    // Drawn once: the report is the slow part of the files.
    const QVector<OutputFile> files = outputFiles();
    if (!confirmReplace(folder, files))
        return;
    QStringList kept;
    const QString error = folder.write(files, true, &kept);
    if (!error.isEmpty()) {
        warn(error);
        return;
    }
    QMessageBox::information(
        m_window, tr("Сохранить таблицы"),
        tr("Таблицы и отчёт сохранены в %1.").arg(folder.nativePath())
            + (kept.isEmpty() ? QString() : QLatin1Char('\n') + kept.join(QLatin1Char('\n'))));
}

bool KeeperActions::confirmInstall(const QString &folder)
{
    const QString text
        = tr("Установить таблицы в папку %1, из которой их читает калькулятор?\n\n"
             "%2\n\nПрежние файлы останутся рядом под именами с датой и временем.")
              .arg(QDir::toNativeSeparators(folder), m_changes.join(QLatin1Char('\n')));
    return QMessageBox::question(m_window, installTitle(), text) == QMessageBox::Yes;
}

QString KeeperActions::installTitle()
{
    return tr("Установить таблицы");
}

QString KeeperActions::tablesFolder()
{
    const QString folder = calculatorFolder().path;
    if (!folder.isEmpty())
        return folder;
    // Offered again next time, never taken without the keeper's choice.
    QSettings settings;
    const QString chosen = QFileDialog::getExistingDirectory(
        m_window, tr("Папка, из которой калькулятор читает таблицы"),
        settings.value(QStringLiteral("tablesFolder")).toString());
    if (!chosen.isEmpty())
        settings.setValue(QStringLiteral("tablesFolder"), chosen);
    return chosen;
}

// Recorded in the release: the clinician who answers for the tables.
bool KeeperActions::askApproval()
{
    bool given = false;
    const QString name = QInputDialog::getText(
        m_window, installTitle(),
        tr("Кто из врачей утвердил выпуск (фамилия и инициалы)? Имя будет записано в историю "
           "выпусков папки."),
        QLineEdit::Normal, QString(), &given);
    if (!given)
        return false;
    m_installer->setNote({QString(), name.simplified(), QString()});
    return true;
}

void KeeperActions::install()
{
    const QString folder = tablesFolder();
    if (folder.isEmpty() || !confirmInstall(folder) || !askApproval())
        return;
    m_installer->install(m_build.tables(), folder);
}

// The releases, newest first, the one the current replaced chosen: one step back.
void KeeperActions::restore()
{
    const QString folder = tablesFolder();
    if (folder.isEmpty())
        return;
    QString error;
    const ReleaseHistory history = ReleaseHistory::read(folder, &error);
    if (!error.isEmpty() || !history.current()) {
        warn(error.isEmpty() ? tr("В папке %1 нет истории выпусков: возвращать не к чему.")
                                   .arg(QDir::toNativeSeparators(folder))
                             : error);
        return;
    }
    QStringList items;
    int chosen = 0;
    const QVector<Release> &releases = history.releases();
    for (int i = int(releases.size()) - 2; i >= 0; --i) {
        if (releases.at(i).number == history.current()->replaces)
            chosen = int(items.size());
        items << ReleaseHistory::describe(releases.at(i));
    }
    if (items.isEmpty()) {
        warn(tr("В папке %1 установлен только один выпуск: возвращать не к чему.")
                 .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    bool given = false;
    const QString item
        = QInputDialog::getItem(m_window, tr("Вернуть прежние таблицы"),
                                tr("Сейчас действует %1. Какой выпуск вернуть?")
                                    .arg(ReleaseHistory::describe(*history.current())),
                                items, chosen, false, &given);
    if (!given || !askApproval())
        return;
    m_installer->restore(folder,
                         releases.at(int(releases.size()) - 2 - items.indexOf(item)).number);
}

void KeeperActions::installed(bool done, const QString &message)
{
    if (!done) {
        warn(message + QLatin1Char('\n') + tr("Ничего не изменено."));
        return;
    }
    // The message says what the calculator does next, as the command's does.
    QMessageBox::information(m_window, installTitle(), message);
    emit tablesChanged();
}
