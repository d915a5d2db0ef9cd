#include "statisticstable.h"

#include "statisticsfile.h"

#include <QFile>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTableWidgetItem>
#include <QTextStream>

namespace {

// A caption longer than this is no caption but a runaway first line (a binary
// file, a file without line breaks). Measuring and drawing such a label whole
// would freeze the window for many seconds, so it is shown shortened.
constexpr int MaxHeaderLabelLength = 200;

QStringList headerLabels(QStringList labels)
{
    for (QString &label : labels) {
        if (label.size() > MaxHeaderLabelLength)
            label = label.left(MaxHeaderLabelLength - 1) + QChar(0x2026);
    }
    return labels;
}

QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setData(Qt::TextAlignmentRole, int(Qt::AlignCenter));
    return item;
}

} // namespace

void prepareStatisticsTable(QTableWidget *table)
{
    // The columns must exist before the labels: setHorizontalHeaderLabels never adds any.
    table->setColumnCount(2);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void fillStatisticsTable(QTableWidget *table, const StatisticsFile &file)
{
    table->setHorizontalHeaderLabels(headerLabels(file.headerLabels));
    // One resize instead of a row insertion per line keeps long files linear.
    const int rowCount = int(file.rows.size());
    table->setRowCount(rowCount);

    // Every setItem() tells the views of its one cell, which costs more than
    // building the item. The new rows are already announced and hold nothing
    // yet, so the cells are filled silently and announced once, together.
    // A sorting table moves items as they arrive and must report each move.
    QAbstractItemModel *model = table->model();
    {
        const QSignalBlocker blocker(table->isSortingEnabled() ? nullptr : model);
        for (int row = 0; row < rowCount; ++row) {
            table->setItem(row, 0, centredItem(file.rows.at(row).diameter));
            table->setItem(row, 1, centredItem(file.rows.at(row).percentage));
        }
    }
    if (rowCount > 0 && !table->isSortingEnabled())
        emit model->dataChanged(model->index(0, 0), model->index(rowCount - 1, 1));
}

namespace {

StatisticsDiagnosis readInto(QTableWidget *table, const QString &fileName)
{
    // No Text flag: the stream itself ends lines at LF and drops a CR before it.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return diagnoseUnopened(fileName);
    const bool utf8Header = headerIsUtf8(file);
    QTextStream stream(&file);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 5 decoded with the system's codec; keep that, so that a file saved in
    // the system's own code page (Windows-1251 on a Russian Windows) reads the
    // same under both. A byte-order mark still takes precedence.
    stream.setEncoding(QStringConverter::System);
#endif
    const StatisticsFile parsed = parseStatistics(stream);
    fillStatisticsTable(table, parsed);
    return diagnoseParsed(fileName, parsed, utf8Header);
}

} // namespace

StatisticsDiagnosis loadStatisticsTable(QTableWidget *table, const QString &fileName)
{
    prepareStatisticsTable(table);
    StatisticsDiagnosis diagnosis = readInto(table, fileName);
    table->setToolTip(statisticsToolTip(diagnosis));
    return diagnosis;
}
