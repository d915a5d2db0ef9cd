#include "badrowspanel.h"
#include "changestab.h"
#include "checktab.h"
#include "keeperactions.h"
#include "keeperwindow.h"
#include "sheathtab.h"
#include "statisticsfile.h"
#include "statsrun.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

// The keeper's window as the keeper meets it: a log given as the program's
// argument, read on the worker, and what the window shows of it.
namespace {

const QString Workbook = QStringLiteral(VELMIRA_SOURCE_DIR "/tests/workbooks/calc/log.xlsx");
constexpr int ReadTimeout = 60000;

StatisticsFile parsed(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    QTextStream stream(&text);
    return parseStatistics(stream);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class KeeperWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void workbookShowsTheCommandsRows();
    void badRowsAreListedAndSkippable();
    void cancelLeavesTheWindowUsable_data();
    void cancelLeavesTheWindowUsable();
    void longMessageKeepsTheWindowSize();
    void savingKeepsThePreviousFiles();
    void checkTabComparesTheInstalledTables_data();
    void checkTabComparesTheInstalledTables();
};

void KeeperWindowTest::initTestCase()
{
    // The calculator's rule logs every smallest diameter it reads, as noise here.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

// Each sheath tab's rows are the rows of the file velmira-stats writes, cell for cell.
void KeeperWindowTest::workbookShowsTheCommandsRows()
{
    KeeperWindow window;
    window.show();
    window.openArguments({QStringLiteral("velmira-stats-gui"), Workbook});
    QVERIFY(window.isReading());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);

    const CaseLogReading &reading = window.result().evidence.reading;
    QVERIFY2(window.result().error().isEmpty(), qPrintable(window.result().error()));
    QVERIFY(reading.rowsRead > 0);
    QCOMPARE(reading.badRows, 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("log.xlsx — Velmira — статистика клиники"));
    QVERIFY(window.build().ready());
    QCOMPARE(window.tabs()->count(), 5);
    QCOMPARE(window.tabs()->tabText(1), QStringLiteral("Кожух 10-12 Ch"));
    QCOMPARE(window.tabs()->tabText(2), QStringLiteral("Кожух 12-14 Ch"));

    const QVector<OutputFile> files = window.build().tables();
    QVERIFY(!files.isEmpty());
    for (const OutputFile &file : files) {
        const int tab = file.name == QStringLiteral("Statistics_1.txt") ? 1 : 2;
        const QTableWidget *rows
            = qobject_cast<SheathTab *>(window.tabs()->widget(tab))->rowTable();
        const StatisticsFile written = parsed(file.bytes);
        QCOMPARE(rows->rowCount(), int(written.rows.size()));
        for (int row = 0; row < rows->rowCount(); ++row) {
            QCOMPARE(rows->item(row, 0)->text(), written.rows.at(row).diameter);
            QCOMPARE(rows->item(row, 4)->text(), written.rows.at(row).percentage);
        }
    }
    // With no installed tables every row of a written table is new.
    const auto *changes = qobject_cast<ChangesTab *>(window.tabs()->widget(3));
    QVERIFY(changes);
    QCOMPARE(changes->table(0)->rowCount(), 17);
}

void KeeperWindowTest::badRowsAreListedAndSkippable()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("журнал.csv"));
    QVERIFY(writeFile(path,
                      "d1;d2;d3;sheath;stricture;placed\n"
                      "1,5;1,6;2;10-12;нет;да\n1,5;1,6;2;10-12;нет;да\n1,5;1,6;2;10-12;нет;да\n"
                      "abc;1,6;2;10-12;нет;да\n1,5;1,6;2;9-11;нет;да\n1,5;1,6;2;9-11;может;да\n"));
    KeeperWindow window;
    window.openArguments({QStringLiteral("velmira-stats-gui"), path});
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);

    QCOMPARE(window.result().evidence.reading.badRows, 3);
    QVERIFY(!window.build().ready());
    auto *panel = window.tabs()->widget(0)->findChild<BadRowsPanel *>();
    QVERIFY(panel);
    // Grouped as the command groups them: d1 unreadable; the sheath in two
    // rows; the stricture in one.
    QCOMPARE(panel->table()->rowCount(), 3);
    QCOMPARE(panel->table()->item(1, 1)->text(), QStringLiteral("D («sheath»)"));
    QCOMPARE(panel->table()->item(1, 2)->text(), QStringLiteral("2"));
    QCOMPARE(panel->table()->item(1, 3)->text(), QStringLiteral("6 («9-11»), 7 («9-11»)"));
    QVERIFY(panel->skipBox()->isEnabled());
    panel->skipBox()->setChecked(true);
    QVERIFY(window.build().ready());
    QCOMPARE(window.build().summary().skippedRows, 3);
}

// A long read stopped half-way leaves nothing half-shown, and the next log opens.
void KeeperWindowTest::cancelLeavesTheWindowUsable_data()
{
    QTest::addColumn<QString>("fixture"); // empty: a long CSV
    QTest::newRow("a CSV of 400,000 rows") << QString();
    // Asked within the sheet, whose rows never reach a step of the progress.
    QTest::newRow("a workbook of one long sheet") << QStringLiteral("long_sheet.xlsx");
}

void KeeperWindowTest::cancelLeavesTheWindowUsable()
{
    QFETCH(QString, fixture);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("long.csv"));
    QByteArray log("d1,d2,d3,sheath,stricture,placed\n");
    for (int row = 0; row < 400000; ++row)
        log += "1.5,1.6,2,10-12,нет,да\n";
    QVERIFY(writeFile(path, log));
    if (!fixture.isEmpty())
        path = QStringLiteral(VELMIRA_SOURCE_DIR "/tests/workbooks/") + fixture;

    KeeperWindow window;
    window.openLog(path);
    QVERIFY(window.isReading());
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("Отм&енить"))
            button->click();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);
    QVERIFY(window.result().cancelled());
    QVERIFY(!window.build().ready());
    QCOMPARE(window.tabs()->count(), 1);

    window.openLog(Workbook);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);
    QVERIFY(window.build().ready());
}

// Sixty sheets each refused: 121 lines, scrolled on the log's tab and told in
// one line below it, never a window past the screen.
void KeeperWindowTest::longMessageKeepsTheWindowSize()
{
    KeeperWindow window;
    window.show();
    const QSize before = window.size();
    window.openLog(QStringLiteral(VELMIRA_SOURCE_DIR "/tests/workbooks/many_sheets.xlsx"));
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);
    QVERIFY(window.result().error().count(QLatin1Char('\n')) > 100);
    QCoreApplication::processEvents();
    QCOMPARE(window.size(), before);
}

// "Сохранить таблицы…" past its dialogs: the command's files, nothing replaced
// unasked, the previous files kept, and a failed write leaves nothing.
void KeeperWindowTest::savingKeepsThePreviousFiles()
{
    KeeperWindow window;
    window.openLog(Workbook);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const QVector<OutputFile> tables = window.build().tables();
    QStringList kept;

    QCOMPARE(window.actions()->saveTablesInto(folder.path(), false, &kept), QString());
    const QStringList written = dir.entryList(QDir::Files);
    QCOMPARE(int(written.size()), int(tables.size()) + 1);
    QVERIFY(written.contains(QStringLiteral("Statistics_report.pdf")));
    for (const OutputFile &table : tables) {
        QFile file(dir.filePath(table.name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), table.bytes);
    }

    QVERIFY(!window.actions()->saveTablesInto(folder.path(), false, &kept).isEmpty());
    QCOMPARE(dir.entryList(QDir::Files), written);
    QCOMPARE(window.actions()->saveTablesInto(folder.path(), true, &kept), QString());
    QCOMPARE(int(kept.size()), int(written.size()));
    QCOMPARE(int(dir.entryList(QDir::Files).size()), 2 * int(written.size()));

    const QString missing = dir.filePath(QStringLiteral("нет"));
    QVERIFY(!window.actions()->saveTablesInto(missing, true, &kept).isEmpty());
    QVERIFY(!QFileInfo::exists(missing));
}

// The "Проверка" tab checks whatever tables the calculator's folder holds
// on the log's cases, and sets the new tables beside them; an empty folder is
// said to be one.
void KeeperWindowTest::checkTabComparesTheInstalledTables_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("shipped tables installed") << true;
    QTest::newRow("nothing installed") << false;
}

void KeeperWindowTest::checkTabComparesTheInstalledTables()
{
    QFETCH(bool, installed);
    QTemporaryDir folder;
    for (const QString &name :
         {QStringLiteral("Statistics_1.txt"), QStringLiteral("Statistics_2.txt")})
        QVERIFY(!installed
                || QFile::copy(QStringLiteral(VELMIRA_DATA_DIR "/") + name, folder.filePath(name)));
    KeeperWindow window;
    window.setInstalledFolder(folder.path());
    window.openLog(Workbook);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReading(), ReadTimeout);
    QVERIFY(window.build().ready());

    const int last = window.tabs()->count() - 1;
    QCOMPARE(window.tabs()->tabText(last), QStringLiteral("Проверка"));
    const auto *tab = qobject_cast<CheckTab *>(window.tabs()->widget(last));
    QVERIFY(tab);
    const QString text = tab->textView()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("O/E")), qPrintable(text));
    QCOMPARE(text.contains(QStringLiteral("Установленные таблицы")), installed);
    QCOMPARE(text.contains(QStringLiteral("нет таблиц калькулятора")), !installed);
    // Compared only where there is something to compare with; the new
    // tables' own check otherwise.
    QCOMPARE(text.contains(QStringLiteral("первые — установленные таблицы")), installed);
    QVERIFY(text.contains(QStringLiteral("перекрёстная проверка (10 блоков")));
    QVERIFY(window.result().check.validation()->crossValidated);

    // The report the window saves has the check's page after both sheath sizes'.
    const QByteArray report = window.actions()->outputFiles().constLast().bytes;
    const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    QCOMPARE(QString::fromLatin1(report.constData(), report.size()).count(page), 4);
}

QTEST_MAIN(KeeperWindowTest)
#include "tst_keeperwindow.moc"
