// The whole program, started as main() starts it, with broken, odd or huge
// statistics files in its working directory: it must open its window, keep
// running, never show a wrong figure and never change a file it reads.

#include "startup.h"
#include "velmira.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <cstdio>

namespace {

// What is put in place of a statistics file.
enum class Content {
    Shipped, // the file the program ships with
    Garbage, // random bytes
    LongLineWithComma, // a single 50 MB line, two fields
    LongLineWithoutComma, // a single 50 MB line, one field
    Utf8Table, // a valid table, UTF-8 without byte-order mark
    Utf16Table, // the same table in UTF-16 LE with byte-order mark
    Cp1251Table, // the same table, its Russian text in Windows-1251
    LongTable, // a valid table of 131,000 data lines, just under the 1 MB limit
    Directory, // a folder of the file's name
    Unreadable, // the UTF-8 table without read permission
};

enum Sheath { Small, Large }; // 10-12 Ch and 12-14 Ch, the two statistics files

const std::array<QString, 2> FileNames
    = {QStringLiteral("Statistics_1.txt"), QStringLiteral("Statistics_2.txt")};
const std::array<const char *, 2> TableNames = {"tableW_d1012", "tableW_d1214"};
const std::array<const char *, 2> RadioNames = {"radioB_1012", "radioB_1214"};

constexpr int GarbageSize = 1024 * 1024;
constexpr int LongLineSize = 50 * 1024 * 1024;
constexpr int LongTableRows = 131000; // 1,036,377 bytes

// A diameter as typed, and as the rule renders it when it looks up the table.
struct Diameter {
    QString typed;
    QString key;
};

// Inside the open band between the bounds the figure comes from the table.
const std::array<std::array<Diameter, 3>, 2> InBand
    = {{{{{QStringLiteral("1.5"), QStringLiteral("1.50")},
          {QStringLiteral("1,55"), QStringLiteral("1.55")},
          {QStringLiteral("1.47"), QStringLiteral("1.47")}}},
        {{{QStringLiteral("1.9"), QStringLiteral("1.90")},
          {QStringLiteral("1,95"), QStringLiteral("1.95")},
          {QStringLiteral("1.87"), QStringLiteral("1.87")}}}}};

// Outside it the figure is 29 or 93 whatever the table holds; each press
// outside comes before one inside, so that a stale figure would show.
struct Fixed {
    QString typed;
    QString figure;
};
const std::array<std::array<Fixed, 3>, 2> OutOfBand
    = {{{{{QStringLiteral("1.2"), QStringLiteral("29")},
          {QStringLiteral("2.5"), QStringLiteral("93")},
          {QStringLiteral("1.44"), QStringLiteral("29")}}},
        {{{QStringLiteral("1.5"), QStringLiteral("29")},
          {QStringLiteral("2,5"), QStringLiteral("93")},
          {QStringLiteral("2.0"), QStringLiteral("93")}}}}};

// The valid tables this test writes, one per sheath size: diameter, percentage.
// Their figures differ from the shipped files' and from 29 and 93.
using Table = QVector<QPair<QString, QString>>;
const std::array<Table, 2> TestTables = {Table {{QStringLiteral("1.45"), QStringLiteral("21")},
                                                {QStringLiteral("1.47"), QStringLiteral("38")},
                                                {QStringLiteral("1.50"), QStringLiteral("44")},
                                                {QStringLiteral("1.55"), QStringLiteral("66")}},
                                         Table {{QStringLiteral("1.85"), QStringLiteral("24")},
                                                {QStringLiteral("1.87"), QStringLiteral("31")},
                                                {QStringLiteral("1.90"), QStringLiteral("47")},
                                                {QStringLiteral("1.95"), QStringLiteral("68")}}};

// Russian header, and comments that hold commas and end in a Cyrillic letter
// right before the line break: a decoder that swallowed the break would glue
// the next data line to the comment.
QString tableText(const Table &table, const QString &lineBreak)
{
    QString text = QStringLiteral("Диаметр (мм),Вероятность (%)") + lineBreak;
    for (const auto &row : table) {
        text += QStringLiteral("# проверка: строка данных, ниже идёт диаметр") + lineBreak;
        text += row.first + QLatin1Char(',') + row.second + lineBreak;
    }
    return text;
}

QByteArray utf16LittleEndian(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// Enough of Windows-1251 for Russian text: ASCII, А-я, Ё and ё.
QByteArray windows1251(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x80)
            bytes.append(char(u));
        else if (u >= 0x0410 && u <= 0x044F)
            bytes.append(char(0xC0 + (u - 0x0410)));
        else if (u == 0x0401)
            bytes.append(char(0xA8));
        else if (u == 0x0451)
            bytes.append(char(0xB8));
        else
            bytes.append('?');
    }
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The percentage of the last line "DIAMETER,PERCENTAGE" in a well-formed file.
QString figureInFile(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString figure;
    const QString prefix = key + QLatin1Char(',');
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(prefix))
            figure = text.mid(prefix.size());
    }
    return figure;
}

// Everything about a file that the program must leave alone.
struct FileState {
    bool isDir = false;
    QFile::Permissions permissions;
    qint64 size = 0;
    QDateTime modified;
    QByteArray sha256; // empty for a folder or a file this process cannot read

    bool operator==(const FileState &other) const
    {
        return isDir == other.isDir && permissions == other.permissions && size == other.size
            && modified == other.modified && sha256 == other.sha256;
    }
};

QMap<QString, FileState> folderState(const QString &path)
{
    QMap<QString, FileState> states;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden
                                                           | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : entries) {
        FileState state;
        state.isDir = info.isDir();
        state.permissions = info.permissions();
        state.size = info.size();
        state.modified = info.lastModified();
        QFile file(info.filePath());
        if (!state.isDir && file.open(QIODevice::ReadOnly)) {
            QCryptographicHash hash(QCryptographicHash::Sha256);
            if (hash.addData(&file))
                state.sha256 = hash.result();
        }
        states.insert(info.fileName(), state);
    }
    return states;
}

// What one press of the calculate button gave.
struct Press {
    QString typed;
    QString figure; // lineEdit_P after the press
    int boxes = 0; // modal windows that opened, closed by the test
    QString boxText;
};

// What the test saw of the running program.
struct Seen {
    bool window = false;
    bool visible = false;
    std::array<int, 2> rows = {-1, -1};
    std::array<int, 2> columns = {-1, -1};
    QStringList lastRow; // of the 10-12 Ch table
    std::array<QVector<Press>, 2> presses;
};

Press press(Velmira &window, const QString &typed, int field)
{
    Press press;
    press.typed = typed;
    const char *fields[] = {"lineEdit_one", "lineEdit_two", "lineEdit_three"};
    for (int i = 0; i < 3; ++i) {
        window.findChild<QLineEdit *>(QString::fromLatin1(fields[i]))
            ->setText(i == field ? typed : QStringLiteral("3"));
    }

    // Closes whatever modal window the press opens, a warning box or not.
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        ++press.boxes;
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            press.boxText = box->text();
        modal->close();
    });
    closer.start();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("pushButton")),
                      Qt::LeftButton);
    closer.stop();
    press.figure = window.findChild<QLineEdit *>(QStringLiteral("lineEdit_P"))->text();
    return press;
}

Seen look(Velmira &window)
{
    Seen seen;
    seen.window = true;
    seen.visible = window.isVisible();
    for (int sheath : {Small, Large}) {
        const auto *table
            = window.findChild<QTableWidget *>(QString::fromLatin1(TableNames[sheath]));
        seen.rows[sheath] = table->rowCount();
        seen.columns[sheath] = table->columnCount();
        if (sheath == Small && table->rowCount() > 0) {
            for (int column = 0; column < 2; ++column) {
                const QTableWidgetItem *item = table->item(table->rowCount() - 1, column);
                seen.lastRow.append(item ? item->text() : QString());
            }
        }
    }
    for (int sheath : {Small, Large}) {
        window.findChild<QRadioButton *>(QString::fromLatin1(RadioNames[sheath]))->click();
        for (int i = 0; i < 3; ++i) {
            seen.presses[sheath].append(press(window, OutOfBand[sheath][i].typed, i));
            seen.presses[sheath].append(press(window, InBand[sheath][i].typed, (i + 1) % 3));
        }
    }
    return seen;
}

// Starts the program as main() does and exercises its window once it shows.
int runProgram(Seen &seen)
{
    QTimer::singleShot(0, qApp, [&seen] {
        Velmira *window = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *candidate = qobject_cast<Velmira *>(widget))
                window = candidate;
        }
        if (!window) {
            QCoreApplication::exit(1); // nothing to close: end the event loop instead
            return;
        }
        seen = look(*window);
        window->close();
    });
    return runVelmira(*qApp);
}

} // namespace

Q_DECLARE_METATYPE(Content)

class BadFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void startsAndCalculates_data();
    void startsAndCalculates();

private:
    bool putInPlace(Content content, int sheath, const QString &path);
    QString expectedFigure(Content content, int sheath, const QString &key, bool readable) const;
    int expectedRows(Content content, int sheath, bool readable) const;

    QTemporaryDir shared; // the large files, written once
    QString garbagePath;
    QString longWithCommaPath;
    QString longWithoutCommaPath;
    QString longTablePath;
    QMap<QString, QString> longTableFigures; // of the last row of each diameter
    QStringList longTableLastRow;
};

void BadFilesTest::initTestCase()
{
    QVERIFY(shared.isValid());

    // No ASCII digit, so no line can hold a diameter: the figure inside the
    // band can only be missing.
    QRandomGenerator random(20240611);
    QByteArray garbage(GarbageSize, Qt::Uninitialized);
    for (char &byte : garbage) {
        do
            byte = char(random.bounded(256));
        while (byte >= '0' && byte <= '9');
    }
    garbagePath = shared.filePath(QStringLiteral("garbage"));
    QVERIFY(writeFile(garbagePath, garbage));
    garbage.clear();

    QByteArray line(LongLineSize, 'x');
    longWithoutCommaPath = shared.filePath(QStringLiteral("long-without-comma"));
    QVERIFY(writeFile(longWithoutCommaPath, line + '\n'));
    line[LongLineSize / 2] = ',';
    longWithCommaPath = shared.filePath(QStringLiteral("long-with-comma"));
    QVERIFY(writeFile(longWithCommaPath, line + '\n'));
    line.clear();

    // Diameters 1.45 to 1.55 over and over, each with changing percentages: only
    // the last row of a diameter gives its figure. Written without an allocation
    // per line, which the sanitizer build would make slow.
    constexpr int Diameters = 11;
    QByteArray longTable = QStringLiteral("Диаметр (мм),Вероятность (%)\n").toUtf8();
    longTable.reserve(longTable.size() + LongTableRows * 9);
    std::array<int, Diameters> first;
    std::array<int, Diameters> last;
    first.fill(-1);
    last.fill(-1);
    for (int row = 0; row < LongTableRows; ++row) {
        const int index = row % Diameters;
        const int percentage = (row * 37 + row / Diameters) % 101;
        char line[16];
        const int length = std::snprintf(line, sizeof line, "1.%02d,%d\n", 45 + index, percentage);
        longTable.append(line, length);
        if (first[size_t(index)] < 0)
            first[size_t(index)] = percentage;
        last[size_t(index)] = percentage;
        if (row == LongTableRows - 1) {
            longTableLastRow
                = QStringList {QStringLiteral("1.%1").arg(45 + index), QString::number(percentage)};
        }
    }
    for (int index = 0; index < Diameters; ++index) {
        // A lookup that took the first matching row instead would be caught.
        QVERIFY(first[size_t(index)] != last[size_t(index)]);
        longTableFigures.insert(QStringLiteral("1.%1").arg(45 + index),
                                QString::number(last[size_t(index)]));
    }
    longTablePath = shared.filePath(QStringLiteral("long-table"));
    QVERIFY(writeFile(longTablePath, longTable));
}

void BadFilesTest::cleanup()
{
    QApplication::setWindowIcon(QIcon());
}

bool BadFilesTest::putInPlace(Content content, int sheath, const QString &path)
{
    const QString dataDir = QStringLiteral(VELMIRA_DATA_DIR "/");
    const Table &table = TestTables[size_t(sheath)];
    switch (content) {
    case Content::Shipped:
        return QFile::copy(dataDir + FileNames[size_t(sheath)], path);
    case Content::Garbage:
        return QFile::copy(garbagePath, path);
    case Content::LongLineWithComma:
        return QFile::copy(longWithCommaPath, path);
    case Content::LongLineWithoutComma:
        return QFile::copy(longWithoutCommaPath, path);
    case Content::Utf8Table:
        return writeFile(path, tableText(table, QStringLiteral("\n")).toUtf8());
    case Content::Utf16Table:
        return writeFile(path, utf16LittleEndian(tableText(table, QStringLiteral("\r\n"))));
    case Content::Cp1251Table:
        return writeFile(path, windows1251(tableText(table, QStringLiteral("\r\n"))));
    case Content::LongTable:
        return QFile::copy(longTablePath, path);
    case Content::Directory:
        return QDir().mkdir(path);
    case Content::Unreadable:
        return writeFile(path, tableText(table, QStringLiteral("\n")).toUtf8())
            && QFile::setPermissions(path, {});
    }
    return false;
}

// The figure a press inside the band must give; empty where the table cannot
// give one, and the program must then say so instead.
QString BadFilesTest::expectedFigure(Content content, int sheath, const QString &key,
                                     bool readable) const
{
    switch (content) {
    case Content::Shipped:
        return figureInFile(QStringLiteral(VELMIRA_DATA_DIR "/") + FileNames[size_t(sheath)], key);
    case Content::Unreadable:
        if (!readable)
            return {};
        Q_FALLTHROUGH();
    case Content::Utf8Table:
    case Content::Utf16Table:
    case Content::Cp1251Table:
        for (const auto &row : TestTables[size_t(sheath)]) {
            if (row.first == key)
                return row.second;
        }
        return {};
    case Content::LongTable:
        return longTableFigures.value(key);
    case Content::Garbage:
    case Content::LongLineWithComma:
    case Content::LongLineWithoutComma:
    case Content::Directory:
        return {};
    }
    return {};
}

// -1: not predictable without parsing the file the way the program does.
int BadFilesTest::expectedRows(Content content, int sheath, bool readable) const
{
    switch (content) {
    case Content::Shipped:
    case Content::Garbage:
        return -1;
    case Content::LongLineWithComma:
    case Content::LongLineWithoutComma:
    case Content::Directory:
        return 0;
    case Content::Unreadable:
        if (!readable)
            return 0;
        Q_FALLTHROUGH();
    case Content::Utf8Table:
    case Content::Utf16Table:
    case Content::Cp1251Table:
        return TestTables[size_t(sheath)].size();
    case Content::LongTable:
        return LongTableRows;
    }
    return -1;
}

void BadFilesTest::startsAndCalculates_data()
{
    QTest::addColumn<Content>("small"); // in place of Statistics_1.txt (10-12 Ch)
    QTest::addColumn<Content>("large"); // in place of Statistics_2.txt (12-14 Ch)

    QTest::newRow("binary garbage") << Content::Garbage << Content::Shipped;
    QTest::newRow("binary garbage in both files") << Content::Garbage << Content::Garbage;
    QTest::newRow("one 50 MB line with a comma") << Content::LongLineWithComma << Content::Shipped;
    QTest::newRow("one 50 MB line without a comma")
        << Content::LongLineWithoutComma << Content::Shipped;
    QTest::newRow("UTF-8 table") << Content::Utf8Table << Content::Utf8Table;
    QTest::newRow("UTF-16 LE table with byte-order mark")
        << Content::Utf16Table << Content::Utf16Table;
    QTest::newRow("Windows-1251 table") << Content::Cp1251Table << Content::Cp1251Table;
    QTest::newRow("131,000 data lines") << Content::LongTable << Content::Shipped;
    QTest::newRow("directory") << Content::Directory << Content::Shipped;
    QTest::newRow("directories for both files") << Content::Directory << Content::Directory;
    QTest::newRow("no read permission") << Content::Unreadable << Content::Shipped;
}

void BadFilesTest::startsAndCalculates()
{
    QFETCH(Content, small);
    QFETCH(Content, large);
    const std::array<Content, 2> contents = {small, large};

    QTemporaryDir work;
    QVERIFY(work.isValid());
    for (const char *name : {"Tavrel.jpg", "stet.png"}) {
        QVERIFY(QFile::copy(QStringLiteral(VELMIRA_DATA_DIR "/") + QString::fromLatin1(name),
                            work.filePath(QString::fromLatin1(name))));
    }
    std::array<bool, 2> readable = {};
    for (int sheath : {Small, Large}) {
        const QString path = work.filePath(FileNames[size_t(sheath)]);
        QVERIFY(putInPlace(contents[size_t(sheath)], sheath, path));
        readable[size_t(sheath)] = QFile(path).open(QIODevice::ReadOnly);
        if (contents[size_t(sheath)] == Content::Unreadable && readable[size_t(sheath)]) {
            // Root reads whatever the permissions say; the program then shows the table.
            qInfo("%s: readable despite permissions 000 (running as root?): the table is "
                  "expected to load",
                  qPrintable(FileNames[size_t(sheath)]));
        }
    }
    const QMap<QString, FileState> before = folderState(work.path());

    const QString previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    Seen seen;
    const int status = runProgram(seen);
    QVERIFY(QDir::setCurrent(previousDir));

    QCOMPARE(status, 0);
    QVERIFY(seen.window);
    QVERIFY(seen.visible);
    for (int sheath : {Small, Large}) {
        const Content content = contents[size_t(sheath)];
        const bool canRead = readable[size_t(sheath)];
        QCOMPARE(seen.columns[size_t(sheath)], 2);
        const int rows = expectedRows(content, sheath, canRead);
        if (rows >= 0)
            QCOMPARE(seen.rows[size_t(sheath)], rows);
        if (content == Content::LongTable)
            QCOMPARE(seen.lastRow, longTableLastRow);

        const QVector<Press> &presses = seen.presses[size_t(sheath)];
        QCOMPARE(presses.size(), 6);
        for (int i = 0; i < 3; ++i) {
            const Press &outside = presses.at(2 * i);
            QCOMPARE(outside.figure, OutOfBand[size_t(sheath)][size_t(i)].figure);
            QCOMPARE(outside.boxes, 0);

            const Diameter &diameter = InBand[size_t(sheath)][size_t(i)];
            const Press &inside = presses.at(2 * i + 1);
            const QString figure = expectedFigure(content, sheath, diameter.key, canRead);
            QVERIFY2(inside.figure == figure,
                     qPrintable(QStringLiteral("%1 gave \"%2\", expected \"%3\"")
                                    .arg(diameter.typed, inside.figure, figure)));
            // A missing figure is explained, a figure is not.
            QCOMPARE(inside.boxes, figure.isEmpty() ? 1 : 0);
            if (figure.isEmpty())
                QVERIFY2(inside.boxText.contains(diameter.key), qPrintable(inside.boxText));
        }
    }

    const QMap<QString, FileState> after = folderState(work.path());
    QCOMPARE(after.keys(), before.keys());
    for (const QString &name : before.keys())
        QVERIFY2(after.value(name) == before.value(name),
                 qPrintable(name + QStringLiteral(" changed")));
}

QTEST_MAIN(BadFilesTest)
#include "tst_badfiles.moc"
