#ifndef VELMIRA_EDITEDCELLS_H
#define VELMIRA_EDITEDCELLS_H

#include <QString>

class QTableWidget;

// The tool tip of an edited cell: the edit counts, but is never saved.
QString editedCellToolTip();

// From now on, marks every cell of the table whose contents change until the
// program closes: a tinted background over the palette's own, so the text
// keeps its contrast, italic type for those who cannot tell the tint, the tool
// tip above, and EditedCellRole for the figure's provenance. Install it after
// the table is filled: what the file gave is no edit.
void markEditedCells(QTableWidget *table);

#endif // VELMIRA_EDITEDCELLS_H
