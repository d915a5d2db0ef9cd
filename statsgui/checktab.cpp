#include "checktab.h"

#include "calibrationplot.h"
#include "calibrationwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

CheckTab::CheckTab(const LogCheck &check, QWidget *parent)
    : QWidget(parent), m_check(check), m_caption(new QLabel), m_legend(new QLabel),
      m_plot(new CalibrationWidget), m_text(new QPlainTextEdit)
{
    auto *left = new QWidget;
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setWordWrap(true);
    m_legend->setWordWrap(true);
    column->addWidget(m_caption);
    column->addWidget(m_plot, 1);
    column->addWidget(m_legend);

    m_text->setReadOnly(true);
    m_text->setAccessibleName(tr("Проверка таблиц"));
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(m_text);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    refresh(false);
}

void CheckTab::refresh(bool newTables)
{
    const TableCheck *plotted = m_check.plotted(newTables);
    m_caption->setText(m_check.plotCaption(newTables));
    m_legend->setText(plotted ? CalibrationPlot(*plotted).legend() : QString());
    m_legend->setVisible(plotted != nullptr);
    m_plot->setCheck(plotted ? std::optional<TableCheck>(*plotted) : std::nullopt);
    m_text->setPlainText(m_check.text(newTables));
}
