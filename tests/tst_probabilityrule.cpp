#include "conclusion.h"
#include "diameter.h"
#include "figureprovenance.h"
#include "probabilityrule.h"
#include "statisticslookup.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(SheathSize)
Q_DECLARE_METATYPE(CalculationResult::Outcome)

namespace {

using Outcome = CalculationResult::Outcome;
using Rows = QVector<QStringList>;

// A statistics table as the window holds one: text cells, two columns.
// A row with a single field leaves its percentage cell without an item.
void fill(QStandardItemModel &model, const Rows &rows)
{
    model.clear();
    model.setColumnCount(2);
    model.setRowCount(rows.size());
    for (int row = 0; row < rows.size(); ++row)
        for (int column = 0; column < rows.at(row).size(); ++column)
            model.setItem(row, column, new QStandardItem(rows.at(row).at(column)));
}

// Distinct figures near each bound show whether the lookup ran and which row it chose.
Rows boundaryRows()
{
    return {{QStringLiteral("1.44"), QStringLiteral("11")},
            {QStringLiteral("1.45"), QStringLiteral("12")},
            {QStringLiteral("1.59"), QStringLiteral("13")},
            {QStringLiteral("1.60"), QStringLiteral("14")},
            {QStringLiteral("1.84"), QStringLiteral("21")},
            {QStringLiteral("1.85"), QStringLiteral("22")},
            {QStringLiteral("1.99"), QStringLiteral("23")},
            {QStringLiteral("2.00"), QStringLiteral("24")}};
}

CalculationInput input(const QString &a, const QString &b, const QString &c, SheathSize sheath,
                       bool stricture = false)
{
    CalculationInput in;
    in.diameterTexts = {a, b, c};
    in.sheath = sheath;
    in.stricture = stricture;
    return in;
}

// The lookup as plainly stated: render every row's diameter and compare texts.
std::optional<int> referenceLookup(const QAbstractItemModel &table, double minimum)
{
    std::optional<int> found;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (twoDecimalText(table.index(row, 0).data().toString().toDouble())
            != twoDecimalText(minimum))
            continue;
        if (const std::optional<int> percentage = readPercentage(table.index(row, 1).data()))
            found = percentage;
    }
    return found;
}

} // namespace

class ProbabilityRuleTest : public QObject {
    Q_OBJECT

private slots:
    void decisionTable_data();
    void decisionTable();
    void invalidDiameters_data();
    void invalidDiameters();
    void lookupChoosesRow_data();
    void lookupChoosesRow();
    void lookupMatchesTextComparison();
    void usableRowMatchesParsers();
    void logsMinimumText();
    void provenance_data();
    void provenance();
    void conclusion_data();
    void conclusion();
};

void ProbabilityRuleTest::decisionTable_data()
{
    QTest::addColumn<QStringList>("diameters");
    QTest::addColumn<SheathSize>("sheath");
    QTest::addColumn<bool>("stricture");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("figure");

    const auto row = [](const char *name, QStringList diameters, SheathSize sheath, bool stricture,
                        Outcome outcome, int figure) {
        QTest::newRow(name) << diameters << sheath << stricture << outcome << figure;
    };
    const SheathSize small = SheathSize::Ch10To12;
    const SheathSize large = SheathSize::Ch12To14;
    const Outcome ok = Outcome::Figure;
    const QString x = QStringLiteral("3");

    row("10-12 at upper bound", {QStringLiteral("1.6"), x, x}, small, false, ok, 93);
    row("10-12 above upper bound", {QStringLiteral("1.61"), x, x}, small, false, ok, 93);
    row("10-12 just inside upper", {QStringLiteral("1.59"), x, x}, small, false, ok, 13);
    row("10-12 1.599 looks up 1.60", {QStringLiteral("1.599"), x, x}, small, false, ok, 14);
    row("10-12 at lower bound", {QStringLiteral("1.44"), x, x}, small, false, ok, 29);
    row("10-12 below lower bound", {QStringLiteral("1.43"), x, x}, small, false, ok, 29);
    row("10-12 just inside lower", {QStringLiteral("1.45"), x, x}, small, false, ok, 12);
    row("10-12 1.441 looks up 1.44", {QStringLiteral("1.441"), x, x}, small, false, ok, 11);
    row("12-14 at upper bound", {QStringLiteral("2"), x, x}, large, false, ok, 93);
    row("12-14 above upper bound", {QStringLiteral("2.01"), x, x}, large, false, ok, 93);
    row("12-14 just inside upper", {QStringLiteral("1.99"), x, x}, large, false, ok, 23);
    row("12-14 1.995 looks up 2.00", {QStringLiteral("1.995"), x, x}, large, false, ok, 24);
    row("12-14 1.999 looks up 2.00", {QStringLiteral("1.999"), x, x}, large, false, ok, 24);
    row("12-14 at lower bound", {QStringLiteral("1.84"), x, x}, large, false, ok, 29);
    row("12-14 below lower bound", {QStringLiteral("1.83"), x, x}, large, false, ok, 29);
    row("12-14 just inside lower", {QStringLiteral("1.85"), x, x}, large, false, ok, 22);
    row("only the smallest counts",
        {QStringLiteral("3.0"), QStringLiteral("1.3"), QStringLiteral("2.5")}, large, false, ok,
        29);
    row("smallest in third place",
        {QStringLiteral("2"), QStringLiteral("1.99"), QStringLiteral("1.45")}, small, false, ok,
        12);
    row("the form's initial values",
        {QStringLiteral("1.6"), QStringLiteral("1.99"), QStringLiteral("1.45")}, small, false, ok,
        12);
    row("decimal comma", {QStringLiteral("1,59"), x, x}, small, false, ok, 13);
    row("stricture gives 0", {QStringLiteral("1.7"), x, x}, small, true, ok, 0);
    row("stricture without sheath size", {QStringLiteral("1.7"), x, x}, SheathSize::None, true, ok,
        0);
    row("stricture with invalid diameters",
        {QString(), QStringLiteral("abc"), QStringLiteral("-1")}, large, true, ok, 0);
    row("no sheath size", {QStringLiteral("1.7"), x, x}, SheathSize::None, false,
        Outcome::NoSheathSize, 0);
    row("middle band without matching row", {QStringLiteral("1.52"), x, x}, small, false,
        Outcome::NoUsableRow, 0);
}

void ProbabilityRuleTest::decisionTable()
{
    QFETCH(QStringList, diameters);
    QFETCH(SheathSize, sheath);
    QFETCH(bool, stricture);
    QFETCH(Outcome, outcome);
    QFETCH(int, figure);

    QStandardItemModel table;
    fill(table, boundaryRows());
    const CalculationResult result = calculateProbability(
        input(diameters.at(0), diameters.at(1), diameters.at(2), sheath, stricture), &table);

    QCOMPARE(result.outcome, outcome);
    if (outcome == Outcome::Figure)
        QCOMPARE(result.figure, figure);
}

void ProbabilityRuleTest::invalidDiameters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("blanks") << QStringLiteral("   ") << 1;
    QTest::newRow("letters") << QStringLiteral("abc") << 2;
    QTest::newRow("nan") << QStringLiteral("nan") << 0;
    QTest::newRow("inf") << QStringLiteral("inf") << 1;
    QTest::newRow("minus inf") << QStringLiteral("-inf") << 2;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("negative") << QStringLiteral("-1") << 1;
    QTest::newRow("two separators") << QStringLiteral("1,5.2") << 2;
    QTest::newRow("unit typed along") << QStringLiteral("1.5 mm") << 0;
    QTest::newRow("overflow") << QStringLiteral("1e999") << 1;
}

void ProbabilityRuleTest::invalidDiameters()
{
    QFETCH(QString, text);
    QFETCH(int, position);

    QStandardItemModel table;
    fill(table, boundaryRows());
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14, SheathSize::None}) {
        CalculationInput in
            = input(QStringLiteral("1.45"), QStringLiteral("1.45"), QStringLiteral("1.45"), sheath);
        in.diameterTexts.at(size_t(position)) = text;
        const CalculationResult result = calculateProbability(in, &table);
        QCOMPARE(result.outcome, Outcome::InvalidDiameter);
        QCOMPARE(result.invalidDiameter, position);
    }
    // A valid field after the bad one is not reported instead of it.
    const CalculationResult first = calculateProbability(
        input(text, QStringLiteral("x"), QString(), SheathSize::Ch10To12), &table);
    QCOMPARE(first.invalidDiameter, 0);
}

void ProbabilityRuleTest::lookupChoosesRow_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("expected"); // -1: no usable row
    QTest::addColumn<int>("expectedRow"); // of the row that gives the figure

    const auto r = [](const char *diameter, const char *percentage) {
        return QStringList {QString::fromUtf8(diameter), QString::fromUtf8(percentage)};
    };
    QTest::newRow("exact") << Rows {r("1.52", "60")} << 60 << 0;
    QTest::newRow("one decimal") << Rows {r("1.5", "1"), r("1.52", "61")} << 61 << 1;
    QTest::newRow("three decimals") << Rows {r("1.520", "62")} << 62 << 0;
    QTest::newRow("blanks around the number") << Rows {r(" 1.52 ", " 63 ")} << 63 << 0;
    QTest::newRow("renders alike") << Rows {r("1.5249", "64")} << 64 << 0;
    QTest::newRow("rounds away") << Rows {r("1.5251", "64")} << -1 << -1;
    QTest::newRow("later row wins")
        << Rows {r("1.52", "10"), r("1.52", "20"), r("1.6", "30")} << 20 << 1;
    QTest::newRow("unusable later row is passed over")
        << Rows {r("1.52", "10"), r("1.52", "85%")} << 10 << 0;
    QTest::newRow("leading zero") << Rows {r("1.52", "085")} << 85 << 0;
    QTest::newRow("zero percent") << Rows {r("1.52", "0")} << 0 << 0;
    QTest::newRow("hundred percent") << Rows {r("1.52", "100")} << 100 << 0;
    QTest::newRow("percent sign") << Rows {r("1.52", "85%")} << -1 << -1;
    QTest::newRow("fraction") << Rows {r("1.52", "85.5")} << -1 << -1;
    QTest::newRow("above hundred") << Rows {r("1.52", "150")} << -1 << -1;
    QTest::newRow("negative") << Rows {r("1.52", "-5")} << -1 << -1;
    QTest::newRow("hexadecimal") << Rows {r("1.52", "0x10")} << -1 << -1;
    QTest::newRow("empty percentage") << Rows {r("1.52", "")} << -1 << -1;
    QTest::newRow("missing percentage item") << Rows {{QStringLiteral("1.52")}} << -1 << -1;
    QTest::newRow("decimal comma in a cell is not a diameter")
        << Rows {r("1,52", "60")} << -1 << -1;
    QTest::newRow("nan and inf never match")
        << Rows {r("nan", "1"), r("inf", "2"), r("-inf", "3")} << -1 << -1;
    QTest::newRow("text never matches") << Rows {r("abc", "1"), r("", "2")} << -1 << -1;
}

void ProbabilityRuleTest::lookupChoosesRow()
{
    QFETCH(Rows, rows);
    QFETCH(int, expected);
    QFETCH(int, expectedRow);

    QStandardItemModel table;
    fill(table, rows);
    QTest::ignoreMessage(QtDebugMsg, "\"1.52\"");
    const CalculationResult result
        = calculateProbability(input(QStringLiteral("1.52"), QStringLiteral("1.9"),
                                     QStringLiteral("1.7"), SheathSize::Ch10To12),
                               &table);

    if (expected < 0) {
        QCOMPARE(result.outcome, Outcome::NoUsableRow);
    } else {
        QCOMPARE(result.outcome, Outcome::Figure);
        QCOMPARE(result.figure, expected);
        QCOMPARE(result.basis, CalculationResult::Basis::Table);
        QCOMPARE(result.tableRow, expectedRow);
        QCOMPARE(result.rowDiameter, rows.at(expectedRow).at(0).trimmed());
        QCOMPARE(result.rowPercentage, rows.at(expectedRow).at(1).trimmed());
    }
}

// Rows far from the minimum are skipped without formatting them; the outcome
// must still be that of comparing the two-decimal texts, near every boundary.
void ProbabilityRuleTest::lookupMatchesTextComparison()
{
    QRandomGenerator random(20261208);
    QStandardItemModel table;
    for (int round = 0; round < 2000; ++round) {
        const double minimum = 1.44 + 0.56 * random.generateDouble();
        Rows rows;
        for (int i = 0; i < 8; ++i) {
            const double offset = (random.generateDouble() - 0.5) * 0.04;
            const int decimals = random.bounded(1, 6);
            rows.append({QString::number(minimum + offset, 'f', decimals),
                         QString::number(random.bounded(0, 102))});
        }
        // Halfway values, where rounding decides the text.
        rows.append({QString::number(std::floor(minimum * 100) / 100 + 0.005, 'f', 3),
                     QString::number(random.bounded(0, 101))});
        fill(table, rows);
        const std::optional<StatisticsMatch> match = findStatisticsRow(table, minimum);
        QCOMPARE(match ? std::optional<int>(match->figure) : std::nullopt,
                 referenceLookup(table, minimum));
    }
}

// Loading answers plain cells without the general parsers; the answer must
// be theirs for every text, near the plain forms above all.
void ProbabilityRuleTest::usableRowMatchesParsers()
{
    const auto reference = [](const QString &diameter, const QString &percentage) {
        bool ok = false;
        const double value = diameter.toDouble(&ok);
        return ok && std::isfinite(value) && readPercentage(percentage).has_value();
    };
    // Mostly digits, so that most cells are plain or nearly so.
    const QString alphabet = QStringLiteral("0123456789000111..-+ e,x");
    QRandomGenerator random(20261209);
    for (int round = 0; round < 20000; ++round) {
        QString cells[2];
        for (QString &cell : cells) {
            const int length = random.bounded(0, round % 10 ? 8 : 20);
            for (int i = 0; i < length; ++i)
                cell += alphabet.at(random.bounded(int(alphabet.size())));
        }
        QVERIFY2(isUsableRow(cells[0], cells[1]) == reference(cells[0], cells[1]),
                 qPrintable(cells[0] + QLatin1Char('/') + cells[1]));
    }
}

void ProbabilityRuleTest::logsMinimumText()
{
    QStandardItemModel table;
    fill(table, boundaryRows());
    QTest::ignoreMessage(QtDebugMsg, "\"1.50\"");
    calculateProbability(input(QStringLiteral("2"), QStringLiteral("1,5"), QStringLiteral("1.7"),
                               SheathSize::Ch10To12),
                         &table);
    QTest::ignoreMessage(QtDebugMsg, "\"1.60\"");
    calculateProbability(input(QStringLiteral("1.599"), QStringLiteral("3"), QStringLiteral("3"),
                               SheathSize::Ch10To12, true),
                         &table);
}

void ProbabilityRuleTest::provenance_data()
{
    QTest::addColumn<QString>("diameter"); // the smallest; the other two are 3 mm
    QTest::addColumn<SheathSize>("sheath");
    QTest::addColumn<bool>("stricture");
    QTest::addColumn<QPoint>("editedCell"); // column, row; null: none
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("evidence"); // a clinic's counts for the row; empty: none

    const auto row = [](const char *name, const char *diameter, SheathSize sheath, bool stricture,
                        QPoint editedCell, const char *text, const char *evidence = "") {
        QTest::newRow(name) << QString::fromUtf8(diameter) << sheath << stricture << editedCell
                            << QString::fromUtf8(text) << QString::fromUtf8(evidence);
    };
    const SheathSize small = SheathSize::Ch10To12;
    const SheathSize large = SheathSize::Ch12To14;
    row("stricture", "1.7", small, true, {}, "Отмечено наличие стриктуры: 0 %");
    row("upper bound", "1.62", small, false, {},
        "Наименьший диаметр 1.62 мм не меньше верхней границы 1.60 мм для кожуха 10-12 Ch: 93 %");
    row("lower bound", "1,84", large, false, {},
        "Наименьший диаметр 1.84 мм не больше нижней границы 1.84 мм для кожуха 12-14 Ch: 29 %");
    row("table row", "1.991", large, false, {},
        "Таблица 12-14 Ch (Statistics_2.txt), строка 7: 1.99 мм — 23 %\nДемо");
    row("edited diameter", "1.45", small, false, {0, 1},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %\n"
        "Строка изменена в этом сеансе на вкладке «Статистика»; файл не менялся.\nДемо");
    row("edited percentage", "1.45", small, false, {1, 1},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %\n"
        "Строка изменена в этом сеансе на вкладке «Статистика»; файл не менялся.\nДемо");
    row("another row edited", "1.45", small, false, {1, 0},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %\nДемо");
    row("no figure", "1.52", small, false, {}, "");
    row("clinic's counts", "1.45", small, false, {},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %; n = 37 (установлено 24), "
        "95 % ДИ 49–78 %, объединены 1.44–1.46 мм\nДемо",
        "12,8,37,24,1.44,1.46,49,78");
    row("interpolated row", "1.45", small, false, {},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %; в этой строке нет "
        "наблюдений: значение интерполировано по соседним строкам\nДемо",
        "0,0,,,,,,");
    row("few cases at one diameter", "1.45", small, false, {},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %; n = 5 (установлено 3), "
        "95 % ДИ 23–88 %, мало наблюдений\nДемо",
        "5,3,5,3,1.45,1.45,23,88");
    row("clipped at the lower figure", "1.45", small, false, {},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %; n = 12 (установлено 0), "
        "95 % ДИ 0–24 %, объединены 1.44–1.45 мм; доля в блоке 0 %, но таблица не опускается "
        "ниже фиксированных 29 %\nДемо",
        "6,0,12,0,1.44,1.45,0,24");
    row("clipped at the upper figure", "1.991", large, false, {},
        "Таблица 12-14 Ch (Statistics_2.txt), строка 7: 1.99 мм — 23 %; n = 40 (установлено 39), "
        "95 % ДИ 87–100 %; доля в блоке 98 %, но таблица не поднимается выше фиксированных "
        "93 %\nДемо",
        "40,39,40,39,1.99,1.99,87,100");
    row("counts of an edited row are not shown", "1.45", small, false, {1, 1},
        "Таблица 10-12 Ch (Statistics_1.txt), строка 2: 1.45 мм — 12 %\n"
        "Строка изменена в этом сеансе на вкладке «Статистика»; файл не менялся.\nДемо",
        "12,8,37,24,1.44,1.46,49,78");
}

void ProbabilityRuleTest::provenance()
{
    QFETCH(QString, diameter);
    QFETCH(SheathSize, sheath);
    QFETCH(bool, stricture);
    QFETCH(QPoint, editedCell);
    QFETCH(QString, text);
    QFETCH(QString, evidence);

    QStandardItemModel table;
    fill(table, boundaryRows());
    if (!editedCell.isNull())
        table.setData(table.index(editedCell.y(), editedCell.x()), true, EditedCellRole);
    const CalculationResult result = calculateProbability(
        input(diameter, QStringLiteral("3"), QStringLiteral("3"), sheath, stricture), &table);
    const QString file = sheath == SheathSize::Ch12To14 ? QStringLiteral("Statistics_2.txt")
                                                        : QStringLiteral("Statistics_1.txt");
    const std::optional<RowCounts> counts
        = evidence.isEmpty() ? std::nullopt : readRowCounts(evidence);
    QCOMPARE(counts.has_value(), !evidence.isEmpty());
    QCOMPARE(figureProvenance(result, sheath, file, QStringLiteral("Демо"),
                              RowEvidence {counts, CountsProblem::None}),
             text);
    if (!result.hasFigure())
        return;

    // The record states that same provenance beside the inputs it answers.
    const ConclusionFacts facts {
        input(diameter, QStringLiteral("3"), QStringLiteral(" 3 "), sheath, stricture), result,
        text, QStringLiteral("Velmira 1.0.0"), QDateTime(QDate(2026, 12, 9), QTime(14, 5))};
    QVERIFY(Conclusion::text(facts).contains(QStringLiteral("\nОснование: ") + text
                                             + QLatin1Char('\n')));
}

void ProbabilityRuleTest::conclusion_data()
{
    QTest::addColumn<QStringList>("diameters");
    QTest::addColumn<bool>("stricture");
    QTest::addColumn<QString>("stated"); // the line of the diameters, after its label

    const auto row = [](const char *name, std::initializer_list<const char *> typed, bool stricture,
                        const char *stated) {
        QStringList diameters;
        for (const char *text : typed)
            diameters.append(QString::fromUtf8(text));
        QTest::newRow(name) << diameters << stricture << QString::fromUtf8(stated);
    };
    row("numbered as on the picture", {"1.6", "1.99", "1.45"}, false,
        "(1) 1.6 мм, (2) 1.99 мм, (3) 1.45 мм; наименьший 1.45 мм");
    row("one decimal mark", {"1,45", " 1,7 ", "1.8"}, false,
        "(1) 1.45 мм, (2) 1.7 мм, (3) 1.8 мм; наименьший 1.45 мм");
    // The same rounded value, two rules: the record tells them apart.
    row("looked up at the rounded value", {"3", "1.598", "3"}, false,
        "(1) 3 мм, (2) 1.598 мм, (3) 3 мм; наименьший 1.598 мм, строка таблицы 1.60");
    row("at the bound itself", {"3", "1.6", "3"}, false,
        "(1) 3 мм, (2) 1.6 мм, (3) 3 мм; наименьший 1.6 мм");
    row("rounded beyond a bound", {"1.604", "3", "3"}, false,
        "(1) 1.604 мм, (2) 3 мм, (3) 3 мм; наименьший 1.604 мм");
    row("stricture without diameters", {"", " ", ""}, true,
        "(1) не указан, (2) не указан, (3) не указан");
    row("stricture with a typing error", {"abc", "15", "1,5"}, true,
        "(1) указан неверно, (2) указан неверно, (3) 1.5 мм");
}

void ProbabilityRuleTest::conclusion()
{
    QFETCH(QStringList, diameters);
    QFETCH(bool, stricture);
    QFETCH(QString, stated);

    QStandardItemModel table;
    fill(table, boundaryRows());
    const CalculationInput in
        = input(diameters.at(0), diameters.at(1), diameters.at(2), SheathSize::Ch10To12, stricture);
    const CalculationResult result = calculateProbability(in, &table);
    QVERIFY(result.hasFigure());
    const ConclusionFacts facts {in, result, QStringLiteral("Основание"),
                                 QStringLiteral("Velmira 1.0.0"), QDateTime::currentDateTime()};
    const QStringList lines = Conclusion::text(facts).split(QLatin1Char('\n'));
    QCOMPARE(lines.first(), QStringLiteral("Диаметры мочеточника: ") + stated);
    QCOMPARE(lines.at(3),
             QStringLiteral("ВЕРОЯТНОСТЬ УСПЕШНОЙ УСТАНОВКИ МОЧЕТОЧНИКОВОГО КОЖУХА СОСТАВЛЯЕТ: ")
                 + QString::number(result.figure) + QStringLiteral(" %"));

    // Pasted into a word processor: the table takes the page's width, and a
    // number keeps its unit on its line.
    const QString html = Conclusion::html(facts);
    QVERIFY(html.startsWith(QStringLiteral("<table width=\"100%\"")));
    QVERIFY(html.contains(QString::number(result.figure) + QStringLiteral("\u00A0%")));
    QVERIFY(!html.contains(QRegularExpression(QStringLiteral("\\d (мм|%|Ch)"))));
}

QTEST_GUILESS_MAIN(ProbabilityRuleTest)
#include "tst_probabilityrule.moc"
