#include "badrowspanel.h"

#include "badcelltexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

BadRowsPanel::BadRowsPanel(const CaseLogReading &reading, QWidget *parent)
    : QWidget(parent), m_list(BadCellTexts::lines(reading.badCells)),
      m_table(new QTableWidget(this)),
      m_skip(new QCheckBox(tr("Построить таблицы &без строк с ошибками"), this))
{
    fillTable(reading.badCells);
    auto *label = new QLabel(heading(reading));
    label->setWordWrap(true);
    auto *copy = new QPushButton(tr("&Копировать список"));
    copy->setAccessibleName(tr("Копировать список строк с ошибками"));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(m_list); });
    // The command's rule: tables from a minority of the log are refused.
    m_skip->setEnabled(!reading.mostRowsBad());
    connect(m_skip, &QCheckBox::toggled, this, &BadRowsPanel::skipChanged);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(m_skip);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
}

QString BadRowsPanel::heading(const CaseLogReading &reading) const
{
    QString text = tr("Строк с ошибками: %1 из %2.").arg(reading.badRows).arg(reading.rowsRead);
    if (reading.mostRowsBad())
        text += QLatin1Char(' ')
            + tr("Это больше половины журнала: таблицы из меньшей его части не были бы "
                 "статистикой клиники. Исправьте журнал.");
    return text;
}

QStringList BadRowsPanel::cells(const BadCellGroup &group)
{
    return {group.sheetName, BadCellTexts::columnName(group), QString::number(group.count),
            BadCellTexts::rows(group), BadCellTexts::reason(group)};
}

void BadRowsPanel::fillTable(const BadCellGroups &groups)
{
    m_table->setColumnCount(5);
    m_table->setHorizontalHeaderLabels({tr("Лист"), tr("Столбец"), tr("Строк"),
                                        tr("Строки (как записано)"), tr("Что должно быть")});
    m_table->setRowCount(int(groups.groups().size()));
    for (int row = 0; row < groups.groups().size(); ++row) {
        const QStringList texts = cells(groups.groups().at(row));
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setToolTip(texts.at(column));
            m_table->setItem(row, column, item);
        }
    }
    m_table->verticalHeader()->hide();
    // Rows as tall as their text, so that more of them fit on a small screen.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();
    m_table->setAccessibleName(tr("Строки с ошибками"));
    // A CSV has no sheets: the column would stay empty.
    const bool sheets
        = std::any_of(groups.groups().cbegin(), groups.groups().cend(),
                      [](const BadCellGroup &group) { return !group.sheetName.isEmpty(); });
    m_table->setColumnHidden(0, !sheets);
}
