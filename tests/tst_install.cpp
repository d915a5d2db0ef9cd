#include "commandline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Installs the program into a temporary prefix and starts it the way its
// desktop entry and its launcher do: the installed program, in a folder that
// has statistics files.
class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void statisticsLinkToConfiguration();
    void desktopEntryNamesInstalledFiles();
    void launcherPicksFolder_data();
    void launcherPicksFolder();
    void launcherAnswersWithoutDisplay();

private:
    QString installed(const QString &path) const { return prefix.filePath(path); }
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

void InstallTest::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");

    const QList<QPair<const char *, bool>> files = {
        {"bin/velmira", true},
        {"bin/velmira-stats", true},
        {"libexec/velmira/velmira", true},
        {"etc/velmira/Statistics_1.txt", false},
        {"etc/velmira/Statistics_2.txt", false},
        {"share/velmira/Tavrel.jpg", false},
        {"share/velmira/stet.png", false},
        {"share/icons/hicolor/48x48/apps/velmira.png", false},
        {"share/icons/hicolor/128x128/apps/velmira.png", false},
        {"share/icons/hicolor/256x256/apps/velmira.png", false},
        {"share/icons/hicolor/scalable/apps/velmira.svg", false},
        {"share/metainfo/org.example.velmira.metainfo.xml", false},
        // Compressed, with the copyright and the changelog beside them, by the
        // Debian package's build (scripts/test-package.sh checks those).
        {"share/man/man1/velmira.1", false},
        {"share/man/man1/velmira-stats.1", false},
        {"share/polkit-1/actions/org.example.velmira.install-tables.policy", false},
        {"bin/velmira-stats-gui", true},
        {"share/man/man1/velmira-stats-gui.1", false},
        {"share/metainfo/org.example.velmira.stats.metainfo.xml", false},
        {"share/applications/velmira-stats-gui.desktop", false},
    };
    for (const auto &file : files)
        QTest::newRow(file.first) << QString::fromLatin1(file.first) << file.second;
}

void InstallTest::installedFiles()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);

    const QFileInfo file(installed(path));
    QVERIFY(file.isFile());
    QVERIFY(!file.isSymLink());
    QVERIFY(file.size() > 0);
    QCOMPARE(file.isExecutable(), executable);
}

// The data folder's statistics files are the configuration folder's, so an
// edit there is what the program reads.
void InstallTest::statisticsLinkToConfiguration()
{
    for (const char *name : {"Statistics_1.txt", "Statistics_2.txt"}) {
        const QFileInfo link(installed(QStringLiteral("share/velmira/")) + QLatin1String(name));
        QVERIFY2(link.isSymLink(), name);
        QCOMPARE(link.symLinkTarget(),
                 installed(QStringLiteral("etc/velmira/")) + QLatin1String(name));
        QFile shipped(QStringLiteral(VELMIRA_DATA_DIR "/") + QLatin1String(name));
        QFile read(link.filePath());
        QVERIFY(shipped.open(QIODevice::ReadOnly) && read.open(QIODevice::ReadOnly));
        QCOMPARE(read.readAll(), shipped.readAll());
    }
}

QString InstallTest::desktopValue(const char *key) const
{
    // Desktop entries are key files; QSettings reads their simple keys well enough.
    QSettings entry(installed(QStringLiteral("share/applications/velmira.desktop")),
                    QSettings::IniFormat);
    return entry.value(QStringLiteral("Desktop Entry/") + QLatin1String(key)).toString();
}

void InstallTest::desktopEntryNamesInstalledFiles()
{
    QCOMPARE(desktopValue("Path"), installed(QStringLiteral("share/velmira")));
    QCOMPARE(desktopValue("Exec"), installed(QStringLiteral("bin/velmira")));
    QCOMPARE(desktopValue("Icon"), QStringLiteral("velmira"));
}

void InstallTest::launcherPicksFolder_data()
{
    QTest::addColumn<QStringList>("ownFiles");
    QTest::addColumn<bool>("staysThere");

    QTest::newRow("empty folder") << QStringList() << false;
    QTest::newRow("only the picture and icon")
        << QStringList {QStringLiteral("Tavrel.jpg"), QStringLiteral("stet.png")} << false;
    QTest::newRow("own Statistics_1.txt")
        << QStringList {QStringLiteral("Statistics_1.txt")} << true;
    QTest::newRow("own Statistics_2.txt")
        << QStringList {QStringLiteral("Statistics_2.txt")} << true;
    QTest::newRow("both") << QStringList {QStringLiteral("Statistics_1.txt"),
                                          QStringLiteral("Statistics_2.txt")}
                          << true;
}

// Started from a folder without statistics files of its own (a home folder),
// the program runs in the installed data folder; a folder with its own keeps
// them. /proc tells where the program runs once the launcher has become it.
void InstallTest::launcherPicksFolder()
{
    QFETCH(QStringList, ownFiles);
    QFETCH(bool, staysThere);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const QString &name : ownFiles)
        QVERIFY(QFile::copy(QStringLiteral(VELMIRA_DATA_DIR "/") + name, folder.filePath(name)));

    QProcess program;
    program.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(installed(QStringLiteral("bin/velmira")), QStringList());
    QVERIFY(program.waitForStarted(10000));

    const QString proc = QStringLiteral("/proc/%1/").arg(program.processId());
    const QString binary
        = QFileInfo(installed(QStringLiteral("libexec/velmira/velmira"))).canonicalFilePath();
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(proc + QStringLiteral("exe")).symLinkTarget(), binary,
                              20000);
    const QString expected
        = staysThere ? folder.path() : installed(QStringLiteral("share/velmira"));
    QCOMPARE(QFileInfo(proc + QStringLiteral("cwd")).symLinkTarget(),
             QFileInfo(expected).canonicalFilePath());
    QCOMPARE(program.state(), QProcess::Running);

    program.kill();
    QVERIFY(program.waitForFinished(10000));
}

void InstallTest::launcherAnswersWithoutDisplay()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcess program;
    program.setWorkingDirectory(home.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    program.setProcessEnvironment(environment);
    program.start(installed(QStringLiteral("bin/velmira")), {QStringLiteral("--version")});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.readAllStandardError(), QByteArray());
    QCOMPARE(program.readAllStandardOutput(), QByteArray::fromStdString(versionText()));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
