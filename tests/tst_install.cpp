#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Installs the program into a temporary prefix and starts it the way its
// desktop entry says: the installed program, in the installed data folder.
class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void desktopEntryNamesInstalledFiles();
    void startsAsDesktopEntrySays();

private:
    QString desktopValue(const char *key) const;

    QTemporaryDir prefix;
};

void InstallTest::initTestCase()
{
    QVERIFY(prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(VELMIRA_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(VELMIRA_BINARY_DIR),
                   QStringLiteral("--prefix"), prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

QString InstallTest::desktopValue(const char *key) const
{
    // Desktop entries are key files; QSettings reads their simple keys well enough.
    QSettings entry(prefix.filePath(QStringLiteral("share/applications/velmira.desktop")),
                    QSettings::IniFormat);
    return entry.value(QStringLiteral("Desktop Entry/") + QLatin1String(key)).toString();
}

void InstallTest::desktopEntryNamesInstalledFiles()
{
    const QString path = desktopValue("Path");
    const QString exec = desktopValue("Exec");
    QCOMPARE(QFileInfo(path).canonicalFilePath(),
             QFileInfo(prefix.filePath(QStringLiteral("share/velmira"))).canonicalFilePath());
    for (const char *name : {"Statistics_1.txt", "Statistics_2.txt", "Tavrel.jpg", "stet.png"})
        QVERIFY2(QFileInfo(QDir(path).filePath(QLatin1String(name))).isFile(), name);

    QCOMPARE(QFileInfo(exec).canonicalFilePath(),
             QFileInfo(prefix.filePath(QStringLiteral("bin/velmira"))).canonicalFilePath());
    QVERIFY(QFileInfo(exec).isExecutable());
    QCOMPARE(desktopValue("Icon"), QStringLiteral("velmira"));
    QVERIFY(
        QFileInfo(prefix.filePath(QStringLiteral("share/icons/hicolor/128x128/apps/velmira.png")))
            .isFile());
}

void InstallTest::startsAsDesktopEntrySays()
{
    QProcess program;
    program.setWorkingDirectory(desktopValue("Path"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(desktopValue("Exec"), QStringList());
    QVERIFY(program.waitForStarted(10000));

    // It must come up and keep running until it is stopped.
    QVERIFY2(!program.waitForFinished(3000), "the installed program ended by itself");
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished(10000);
    }
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
