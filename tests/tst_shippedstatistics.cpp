#include "probabilityrule.h"
#include "statisticstable.h"

#include <QTableWidget>
#include <QTest>

// The statistics files the program ships must give a figure for every diameter
// a clinician can type, for both sheath sizes, and never a falling one.
class ShippedStatisticsTest : public QObject {
    Q_OBJECT

private slots:
    void everyDiameterGivesFigure_data();
    void everyDiameterGivesFigure();
};

void ShippedStatisticsTest::everyDiameterGivesFigure_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("sheath");
    QTest::newRow("10-12 Ch") << QStringLiteral("Statistics_1.txt") << int(SheathSize::Ch10To12);
    QTest::newRow("12-14 Ch") << QStringLiteral("Statistics_2.txt") << int(SheathSize::Ch12To14);
}

void ShippedStatisticsTest::everyDiameterGivesFigure()
{
    QFETCH(QString, fileName);
    QFETCH(int, sheath);

    QTableWidget table;
    loadStatisticsTable(&table, QStringLiteral(VELMIRA_DATA_DIR "/") + fileName);
    QVERIFY(table.rowCount() > 0);

    // Silence the one debug line per calculation: there are thousands here.
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    int previousFigure = 0;
    QString failure;
    for (int thousandths = 1000; thousandths <= 2500 && failure.isEmpty(); ++thousandths) {
        CalculationInput input;
        const QString diameter = QString::number(thousandths / 1000.0, 'f', 3);
        input.diameterTexts = {diameter, QStringLiteral("3"), QStringLiteral("3")};
        input.sheath = SheathSize(sheath);
        const CalculationResult result = calculateProbability(input, table.model());
        if (!result.hasFigure())
            failure = diameter + QStringLiteral(": no figure");
        else if (result.figure < 29 || result.figure > 93 || result.figure < previousFigure)
            failure = diameter + QStringLiteral(": figure ") + QString::number(result.figure);
        else
            previousFigure = result.figure;
    }
    qInstallMessageHandler(previous);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(previousFigure, 93);
}

QTEST_MAIN(ShippedStatisticsTest)
#include "tst_shippedstatistics.moc"
