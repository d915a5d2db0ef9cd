#include "changestab.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

ChangesTab::ChangesTab(const QString &folder, const QVector<SheathEvidence> &sheaths,
                       QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(
        folder.isEmpty()
            ? tr("Папка, из которой калькулятор читает таблицы, не известна: значения «сейчас» "
                 "не с чем сравнить.")
            : tr("Сейчас: таблицы из папки %1, как их читает калькулятор.")
                  .arg(QDir::toNativeSeparators(folder)));
    where->setWordWrap(true);
    layout->addWidget(where);
    auto *boxes = new QHBoxLayout;
    for (const SheathEvidence &sheath : sheaths) {
        m_changes.append(InstalledComparison::compareWithFolder(folder, sheath));
        boxes->addWidget(sheathBox(sheath, m_changes.constLast()));
    }
    layout->addLayout(boxes, 1);
}

QGroupBox *ChangesTab::sheathBox(const SheathEvidence &sheath, const QVector<RowChange> &rows)
{
    auto *box = new QGroupBox(tr("Кожух %1").arg(sheathName(sheath.sheath)));
    auto *layout = new QVBoxLayout(box);
    auto *verdict = new QLabel(InstalledComparison::verdict(rows));
    verdict->setWordWrap(true);
    layout->addWidget(verdict);
    m_tables.append(changeTable(rows));
    m_tables.constLast()->setAccessibleName(box->title());
    layout->addWidget(m_tables.constLast(), 1);
    return box;
}

QTableWidget *ChangesTab::changeTable(const QVector<RowChange> &rows)
{
    auto *table = new QTableWidget(int(rows.size()), 4);
    table->setHorizontalHeaderLabels(
        {tr("Диаметр, мм"), tr("Сейчас"), tr("После установки"), tr("Изменится")});
    for (int row = 0; row < rows.size(); ++row) {
        const RowChange &change = rows.at(row);
        const QStringList cells = {
            change.diameter, InstalledComparison::figureText(change.installed),
            InstalledComparison::figureText(change.fresh), change.changes() ? tr("да") : QString()};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignCenter);
            // Marked by more than colour, so that it reads in any theme.
            if (change.changes()) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
                item->setBackground(table->palette().highlight().color().lighter(170));
            }
            table->setItem(row, column, item);
        }
    }
    table->verticalHeader()->hide();
    // Rows as tall as their text, so that more of them fit on a small screen.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}
