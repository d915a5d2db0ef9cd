#include "statisticstable.h"

#include "figureprovenance.h"
#include "rowcounts.h"
#include "statisticsfile.h"
#include "statisticsreader.h"
#include "statisticstexts.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTableWidgetItem>

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

// Each cell of a row with a clinic's counts tells them, or that they contradict its figure.
void showRowCounts(QTableWidget *table, const StatisticsFile &file)
{
    for (int row = 0; row < int(file.rows.size()); ++row) {
        const RowEvidence evidence = rowEvidence(file.rows.at(row));
        if (!evidence.counts && !evidence.disagrees())
            continue;
        const QString toolTip = evidence.counts ? StatisticsTexts::rowToolTip(*evidence.counts)
                                                : countsDisagreementText();
        table->item(row, 0)->setToolTip(toolTip);
        table->item(row, 1)->setToolTip(toolTip);
    }
}

} // namespace

void showStatisticsTable(QTableWidget *table, const StatisticsRead &read)
{
    prepareStatisticsTable(table);
    fillStatisticsTable(table, read.file);
    if (read.diagnosis.countedRows > 0 || read.diagnosis.malformedEvidenceRows > 0)
        showRowCounts(table, read.file);
    table->setToolTip(StatisticsTexts::toolTip(read.diagnosis));
}

StatisticsDiagnosis loadStatisticsTable(QTableWidget *table, const QString &fileName)
{
    const StatisticsRead read = readStatisticsFile(fileName);
    showStatisticsTable(table, read);
    return read.diagnosis;
}
