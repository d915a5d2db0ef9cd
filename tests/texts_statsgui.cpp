// velmira-stats-gui's sample texts, one per translation context, for tst_texts.
#include "textsamples.h"

#include "badrowspanel.h"
#include "changestab.h"
#include "checktab.h"
#include "installedcomparison.h"
#include "keeperactions.h"
#include "keeperwindow.h"
#include "logcheck.h"
#include "logoverview.h"
#include "logreadworker.h"
#include "sheathtab.h"
#include "tableinstaller.h"
#include "tablesbuild.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

LogReadResult missingLog()
{
    QTemporaryDir folder;
    LogReadWorker worker;
    LogReadResult result;
    QObject::connect(&worker, &LogReadWorker::finished,
                     [&result](const LogReadResult &read) { result = read; });
    worker.read(folder.filePath(QStringLiteral("нет.csv")));
    return result;
}

// A log that read, with bad rows among its four.
LogReadResult badLog()
{
    LogReadResult result;
    result.path = QStringLiteral("log.csv");
    result.evidence.reading.rowsRead = 4;
    result.evidence.reading.badRows = 1;
    return result;
}

// What the installer says when the folder it was given is missing.
QString missingFolderInstall()
{
    QTemporaryDir folder;
    TableInstaller installer;
    QString message;
    QObject::connect(&installer, &TableInstaller::finished,
                     [&message](bool, const QString &said) { message = said; });
    installer.install({{QStringLiteral("Statistics_1.txt"), "Диаметр,Процент\n1.50,40\n"}},
                      folder.filePath(QStringLiteral("нет")));
    return message;
}

SheathEvidence sheath()
{
    SheathEvidence evidence;
    evidence.sheath = SheathSize::Ch10To12;
    return evidence;
}

} // namespace

QMap<QString, TextSample> textSamples()
{
    return {
        {QStringLiteral("BadRowsPanel"),
         {[] { return BadRowsPanel(CaseLogReading()).skipBox()->text(); },
          QStringLiteral("Построить таблицы &без строк с ошибками")}},
        {QStringLiteral("ChangesTab"),
         {[] {
              return ChangesTab(QString(), {sheath()}).table(0)->horizontalHeaderItem(0)->text();
          },
          QStringLiteral("Диаметр, мм")}},
        {QStringLiteral("CheckTab"),
         {[] { return CheckTab(LogCheck()).textView()->accessibleName(); },
          QStringLiteral("Проверка таблиц")}},
        {QStringLiteral("InstalledComparison"),
         {[] { return InstalledComparison::verdict({}); },
          QStringLiteral("Новой таблицы для этого кожуха нет: установленная останется как есть.")}},
        {QStringLiteral("KeeperActions"),
         {KeeperActions::installTitle, QStringLiteral("Установить таблицы")}},
        {QStringLiteral("KeeperWindow"),
         {[] { return KeeperWindow().windowTitle(); },
          QStringLiteral("Velmira — статистика клиники")}},
        {QStringLiteral("LogCheck"),
         {[] { return LogCheck().plotCaption(false); }, QStringLiteral("Проверять нечего")}},
        {QStringLiteral("LogOverview"),
         {[] { return LogOverview::lines(badLog(), false).constFirst().first; },
          QStringLiteral("Файл")}},
        {QStringLiteral("LogReadWorker"),
         {[] { return missingLog().fileError; },
          QStringLiteral("журнала %1 нет: такого файла не найдено.")}},
        {QStringLiteral("SheathTab"),
         {[] { return SheathTab(sheath()).rowTable()->accessibleName(); },
          QStringLiteral("Строки таблицы")}},
        {QStringLiteral("TableInstaller"),
         {missingFolderInstall, QStringLiteral("Таблицы не установлены.")}},
        {QStringLiteral("TablesBuild"),
         {[] { return TablesBuild(badLog(), false).refusal(); },
          QStringLiteral("в журнале %1 строк с ошибками из %2. Исправьте их или постройте "
                         "таблицы без них.")}},
    };
}
