#include "editedcells.h"

#include "statisticsrow.h"

#include <QCoreApplication>
#include <QTableWidget>
#include <QTableWidgetItem>

namespace {

// A soft yellow laid over the palette's base colour: pale on a light palette,
// a dim olive on a dark one, readable with the palette's text colour in both.
QColor editedBackground(const QPalette &palette)
{
    constexpr double share = 0.3;
    const QColor base = palette.color(QPalette::Base);
    const QColor tint(255, 200, 0);
    const auto mix = [&](double from, double to) {
        return from * (1.0 - share) + to * share;
    };
    return QColor::fromRgbF(mix(base.redF(), tint.redF()), mix(base.greenF(), tint.greenF()),
                            mix(base.blueF(), tint.blueF()));
}

void markEdited(QTableWidget *table, QTableWidgetItem *item)
{
    // Marking changes the item too and so comes back here: mark only once.
    if (item->data(EditedCellRole).toBool())
        return;
    item->setData(EditedCellRole, true);
    item->setBackground(editedBackground(table->palette()));
    QFont font = table->font();
    font.setItalic(true);
    item->setFont(font);
    item->setToolTip(editedCellToolTip());
}

} // namespace

QString editedCellToolTip()
{
    return QCoreApplication::translate("Velmira", "Изменено в этом сеансе; файл не меняется");
}

void markEditedCells(QTableWidget *table)
{
    QObject::connect(table, &QTableWidget::itemChanged, table,
                     [table](QTableWidgetItem *item) { markEdited(table, item); });
}
