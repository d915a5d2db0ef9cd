#include "sheathtab.h"

#include "plotwidget.h"
#include "reporttexts.h"
#include "rowtable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

SheathTab::SheathTab(const SheathEvidence &sheath, QWidget *parent)
    : QWidget(parent), m_rows(new QTableWidget(this))
{
    fillRows(sheath);
    // The keeper decides how much room the plot and the rows get.
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(topHalf(sheath));
    splitter->addWidget(m_rows);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
}

// The report's sentences on both bounds, with a disagreement where there is one.
QString SheathTab::boundChecks(const SheathEvidence &sheath)
{
    QStringList paragraphs;
    for (const BoundCheck &check : {sheath.lower, sheath.upper}) {
        paragraphs << ReportTexts::boundTitle(check) + QStringLiteral(" — ")
                + ReportTexts::boundObserved(check);
        const QString disagreement = ReportTexts::boundDisagreement(check);
        if (!disagreement.isEmpty())
            paragraphs << disagreement;
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

QWidget *SheathTab::topHalf(const SheathEvidence &sheath)
{
    auto *half = new QWidget;
    auto *layout = new QHBoxLayout(half);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new PlotWidget(sheath), 3);

    auto *checks = new QLabel(boundChecks(sheath));
    checks->setWordWrap(true);
    checks->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    checks->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    checks->setAccessibleName(tr("Проверка фиксированных границ"));
    auto *scroll = new QScrollArea;
    scroll->setWidget(checks);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll, 2);
    return half;
}

void SheathTab::fillRows(const SheathEvidence &sheath)
{
    const QVector<TextTable::Column> columns = RowTable::columns();
    m_rows->setColumnCount(int(columns.size()));
    m_rows->setRowCount(int(sheath.rows.size()));
    QStringList titles;
    for (const TextTable::Column &column : columns)
        titles << column.title;
    m_rows->setHorizontalHeaderLabels(titles);
    for (int row = 0; row < sheath.rows.size(); ++row) {
        const QStringList cells = RowTable::cells(sheath.rows.at(row));
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setTextAlignment(columns.at(column).alignment | Qt::AlignVCenter);
            m_rows->setItem(row, column, item);
        }
    }
    m_rows->verticalHeader()->hide();
    // Rows as tall as their text, so that more of them fit on a small screen.
    m_rows->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    m_rows->resizeColumnsToContents();
    m_rows->setToolTip(RowTable::footnote());
    m_rows->setAccessibleName(tr("Строки таблицы"));
}
