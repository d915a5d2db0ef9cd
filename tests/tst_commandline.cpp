#include "commandline.h"
#include "velmiraversion.h"

#include <QProcess>
#include <QTest>

#include <vector>

Q_DECLARE_METATYPE(CommandLineRequest)

// The program's own options, parsed without an application object, and the
// built program answering them without a display.
class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void request_data();
    void request();
    void texts();
    void programAnswers_data();
    void programAnswers();
    void otherArgumentsStartWindow();
};

void CommandLineTest::request_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLineRequest>("expected");

    using R = CommandLineRequest;
    QTest::newRow("none") << QStringList() << R::StartWindow;
    QTest::newRow("help") << QStringList {QStringLiteral("--help")} << R::Help;
    QTest::newRow("version") << QStringList {QStringLiteral("--version")} << R::Version;
    QTest::newRow("after another")
        << QStringList {QStringLiteral("x"), QStringLiteral("--version")} << R::Version;
    QTest::newRow("first wins") << QStringList {QStringLiteral("--version"),
                                                QStringLiteral("--help")}
                                << R::Version;
    QTest::newRow("short forms are not ours")
        << QStringList {QStringLiteral("-h"), QStringLiteral("-v")} << R::StartWindow;
    QTest::newRow("prefix only") << QStringList {QStringLiteral("--help-all")} << R::StartWindow;
    QTest::newRow("case") << QStringList {QStringLiteral("--HELP")} << R::StartWindow;
    QTest::newRow("single dash") << QStringList {QStringLiteral("-help")} << R::StartWindow;
    QTest::newRow("qt option") << QStringList {QStringLiteral("-platform"), QStringLiteral("xcb")}
                               << R::StartWindow;
}

void CommandLineTest::request()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLineRequest, expected);

    std::vector<QByteArray> bytes {QByteArrayLiteral("velmira")};
    for (const QString &argument : arguments)
        bytes.push_back(argument.toUtf8());
    std::vector<const char *> argv;
    for (const QByteArray &argument : bytes)
        argv.push_back(argument.constData());
    argv.push_back(nullptr);

    QCOMPARE(commandLineRequest(int(bytes.size()), argv.data()), expected);
}

void CommandLineTest::texts()
{
    const QString version = QString::fromStdString(versionText());
    QCOMPARE(version,
             QStringLiteral("velmira %1 (Qt %2)\n")
                 .arg(QLatin1String(VELMIRA_VERSION), QLatin1String(qVersion())));

    const QString help = QString::fromStdString(helpText());
    QVERIFY(help.startsWith(QStringLiteral("Usage: velmira [--help | --version]\n")));
    QVERIFY(help.endsWith(QLatin1Char('\n')));
    for (const char *file : {"Statistics_1.txt", "Statistics_2.txt", "Tavrel.jpg", "stet.png"})
        QVERIFY2(help.contains(QLatin1String(file)), file);
}

void CommandLineTest::programAnswers_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("help") << QStringLiteral("--help") << QByteArray::fromStdString(helpText());
    QTest::newRow("version") << QStringLiteral("--version")
                             << QByteArray::fromStdString(versionText());
}

// No display and no platform plugin to fall back on: the answer must come
// before Qt looks for either.
void CommandLineTest::programAnswers()
{
    QFETCH(QString, option);
    QFETCH(QByteArray, expected);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELMIRA_PROGRAM), {QStringLiteral("ignored"), option});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.readAllStandardError(), QByteArray());
    QCOMPARE(program.readAllStandardOutput(), expected);
    QCOMPARE(program.exitCode(), 0);
}

void CommandLineTest::otherArgumentsStartWindow()
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QStringLiteral(VELMIRA_DATA_DIR));
    program.start(QStringLiteral(VELMIRA_PROGRAM),
                  {QStringLiteral("-h"), QStringLiteral("--versions"), QStringLiteral("file.txt")});
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(!program.waitForFinished(3000), program.readAll().constData());
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished(10000);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
