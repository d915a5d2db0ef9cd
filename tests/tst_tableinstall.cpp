#include "calculatorfolder.h"
#include "elevatedinstall.h"
#include "tableinstaller.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Where the keeper's tables go and installing them there. The elevated path
// needs a person at a prompt and is not run here; a folder this user cannot
// write, with no way to elevate, must change nothing and give the command.
namespace {

const QString Table1 = QStringLiteral("Statistics_1.txt");
const QString Table2 = QStringLiteral("Statistics_2.txt");

QMap<QString, QByteArray> contents(const QString &path)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo &entry : QDir(path).entryInfoList(QDir::Files | QDir::NoDotAndDotDot)) {
        QFile file(entry.filePath());
        files[entry.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    return files;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TableInstallTest : public QObject {
    Q_OBJECT

private slots:
    void calculatorFolderPath_data();
    void calculatorFolderPath();
    void canCreateFilesIn();
    void installsWithoutElevation_data();
    void installsWithoutElevation();
    void aFolderWithoutRightsChangesNothing();
    void restoreGoesBackOneRelease();
    void manualCommandQuotes();
};

void TableInstallTest::calculatorFolderPath_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("programData");
    QTest::addColumn<bool>("packageFolder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Windows: %ProgramData%\\Velmira")
        << true << "C:/Program Files/Velmira"
        << "C:\\ProgramData" << false << "C:/ProgramData/Velmira";
    QTest::newRow("Windows without %ProgramData%: the keeper chooses")
        << true << "C:/Program Files/Velmira" << QString() << false << QString();
    QTest::newRow("the Debian package: /etc/velmira")
        << false << "/usr/bin" << QString() << true << "/etc/velmira";
    QTest::newRow("/usr/bin, no /etc/velmira: not the package")
        << false << "/usr/bin" << QString() << false << QString();
    QTest::newRow("another prefix") << false << "/usr/local/bin" << QString() << true << QString();
    QTest::newRow("a build folder")
        << false << "/home/keeper/velmira/build" << QString() << true << QString();
}

void TableInstallTest::calculatorFolderPath()
{
    QFETCH(bool, windows);
    QFETCH(QString, programFolder);
    QFETCH(QString, programData);
    QFETCH(bool, packageFolder);
    QFETCH(QString, expected);
    QCOMPARE(::calculatorFolderPath(windows, programFolder, programData, packageFolder), expected);
}

void TableInstallTest::canCreateFilesIn()
{
    QTemporaryDir dir;
    QVERIFY(::canCreateFilesIn(dir.path()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    QVERIFY(!::canCreateFilesIn(dir.filePath(QStringLiteral("missing"))));
#ifndef Q_OS_WIN
    // Read-only for this user; root ignores the bits, and /proc refuses even root.
    const QString readOnly = dir.filePath(QStringLiteral("read-only"));
    QVERIFY(QDir().mkdir(readOnly));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(
        !::canCreateFilesIn(QFileInfo(readOnly).isWritable() ? QStringLiteral("/proc") : readOnly));
#endif
}

void TableInstallTest::installsWithoutElevation_data()
{
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("installed");

    QTest::newRow("into an empty folder") << false << true << true;
    QTest::newRow("over the previous tables, kept beside") << true << true << true;
    QTest::newRow("into a missing folder: nothing") << false << false << false;
}

void TableInstallTest::installsWithoutElevation()
{
    QFETCH(bool, previous);
    QFETCH(bool, folderExists);
    QFETCH(bool, installed);

    QTemporaryDir dir;
    const QString folder = folderExists ? dir.path() : dir.filePath(QStringLiteral("missing"));
    if (previous)
        QVERIFY(writeFile(dir.filePath(Table1), "Диаметр,Процент\n1.50,50\n"));
    const auto before = contents(dir.path());
    const QVector<OutputFile> files
        = {{Table1, "Диаметр,Процент\n1.50,60\n"}, {Table2, "Диаметр,Процент\n1.90,70\n"}};

    TableInstaller installer;
    QSignalSpy finished(&installer, &TableInstaller::finished);
    installer.install(files, folder);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), installed);
    const QString message = finished.at(0).at(1).toString();
    const auto after = contents(dir.path());
    if (!installed) {
        QVERIFY2(message.contains(QStringLiteral("Таблицы не установлены.")), qPrintable(message));
        QCOMPARE(after, before);
        QVERIFY(!QFileInfo::exists(folder));
        return;
    }
    QVERIFY2(message.contains(QDir::toNativeSeparators(folder)), qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("Калькулятор прочитает их при следующем запуске.")));
    QVERIFY2(message.contains(QStringLiteral("записан выпуск 1 от")), qPrintable(message));
    for (const OutputFile &file : files)
        QCOMPARE(after.value(file.name), file.bytes);
    // The tables and the history of releases.
    QCOMPARE(after.size(), files.size() + before.size() + 1);
    if (previous) {
        QVERIFY(message.contains(QStringLiteral("Прежний Statistics_1.txt сохранён как")));
        QVERIFY(after.values().contains(before.value(Table1)));
    }
}

void TableInstallTest::aFolderWithoutRightsChangesNothing()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has no folder that refuses its owner by permission bits alone");
#endif
    if (ElevatedInstall::available())
        QSKIP("velmira-stats and pkexec are installed here: the prompt would need a person");
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("calculator"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    if (QFileInfo(folder).isWritable())
        folder = QStringLiteral("/proc");
    TableInstaller installer;
    QSignalSpy finished(&installer, &TableInstaller::finished);
    installer.install({{Table1, "Диаметр,Процент\n1.50,60\n"}}, folder);
    QFile::setPermissions(dir.filePath(QStringLiteral("calculator")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    const QString message = finished.at(0).at(1).toString();
    QVERIFY2(message.contains(QStringLiteral("Ничего не изменено.")), qPrintable(message));
    QVERIFY(!QFileInfo::exists(QDir(folder).filePath(Table1)));
    // The command given runs as it is: the staged table is there for it.
    const QString command = installer.manualCommand(folder);
    QVERIFY2(message.endsWith(command), qPrintable(message));
    const QString staged = command.section(QLatin1Char('\''), -2, -2);
    QCOMPARE(contents(staged).value(Table1), QByteArray("Диаметр,Процент\n1.50,60\n"));
    QVERIFY(QDir(staged).removeRecursively());
}

void TableInstallTest::manualCommandQuotes()
{
#ifdef Q_OS_WIN
    // A backslash before the closing quote would escape it.
    const QString command = ElevatedInstall::commandLine(
        {QStringLiteral("--install"), QStringLiteral("C:\\ProgramData\\Velmira\\"),
         QStringLiteral("C:\\Temp\\keeper tables")});
    QVERIFY2(command.endsWith(
                 QStringLiteral("velmira-stats.exe\" --install \"C:\\ProgramData\\Velmira\\\\\" "
                                "\"C:\\Temp\\keeper tables\"")),
             qPrintable(command));
#else
    const QString command
        = ElevatedInstall::commandLine({QStringLiteral("--install"), QStringLiteral("/etc/velmira"),
                                        QStringLiteral("/tmp/keeper's tables")});
    QVERIFY2(command.startsWith(QStringLiteral("sudo '")), qPrintable(command));
    QVERIFY2(
        command.endsWith(QStringLiteral(" --install '/etc/velmira' '/tmp/keeper'\\''s tables'")),
        qPrintable(command));
#endif
}

// The window's way back: two installs, then one step back to the first.
void TableInstallTest::restoreGoesBackOneRelease()
{
    QTemporaryDir dir;
    const QVector<OutputFile> first = {{Table1, "Диаметр,Процент\n1.50,60\n"}};
    const QVector<OutputFile> second = {{Table1, "Диаметр,Процент\n1.50,70\n"}};
    TableInstaller installer;
    QSignalSpy finished(&installer, &TableInstaller::finished);
    installer.setNote({QString(), QStringLiteral("Иванов И. И."), QString()});
    installer.install(first, dir.path());
    installer.install(second, dir.path());
    installer.restore(dir.path(), 0);
    QCOMPARE(finished.count(), 3);
    const QString message = finished.at(2).at(1).toString();
    QVERIFY2(finished.at(2).at(0).toBool(), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("выпуск 3 от")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("(возврат к выпуску 1; утвердил Иванов И. И.)")),
             qPrintable(message));
    QCOMPARE(contents(dir.path()).value(Table1), first.at(0).bytes);
}

QTEST_GUILESS_MAIN(TableInstallTest)
#include "tst_tableinstall.moc"
