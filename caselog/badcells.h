#ifndef VELMIRA_BADCELLS_H
#define VELMIRA_BADCELLS_H

#include "logcolumns.h"

#include <QString>
#include <QVector>

// Why a cell makes its row bad.
enum class CellProblem {
    Empty, // where a value is required
    Unreadable, // not what the column holds
    OtherMark, // a diameter with the other decimal mark than the log's
    NoSuchDate, // the form of a date, but no such day
    OutOfYears, // a date, but outside FirstLogYear to lastLogYear()
    // More fields than the header: a delimiter in unquoted text has moved the
    // row's cells, so none of them is read or shown, for it may be a name.
    ExtraCells,
};

// A cell as written, and the row it stands in.
struct BadCell {
    int row = 0;
    QString cell;
};

// The bad cells of one column of one table with one problem: however many
// there are, the keeper reads one line, with the count and the first few.
struct BadCellGroup {
    static constexpr int Shown = 5;

    int sheet = 0; // the table's place in CaseLogReading::sheets
    QString sheetName; // empty for a CSV
    LogColumn column = LogColumn::D1;
    int field = 0; // the column's place in the table, 0 being A
    QString header; // the column's name as the header writes it
    CellProblem problem = CellProblem::Empty;
    int count = 0;
    QVector<BadCell> first; // the first Shown of them
};

// Collects bad cells into groups, in the order their first cells came.
class BadCellGroups {
public:
    void add(const BadCellGroup &where, int row, const QString &cell);
    // The groups of another collection, their problem now the one given.
    void addAll(const BadCellGroups &other, CellProblem problem);
    // Sorts by table, then by the first bad row, then by column.
    void sort();

    const QVector<BadCellGroup> &groups() const { return m_groups; }
    int cellCount() const { return m_cells; }

private:
    void addCell(BadCellGroup &group, int row, const QString &cell);

    QVector<BadCellGroup> m_groups;
    int m_last = -1; // the group added to last: bad cells come in runs
    int m_cells = 0;
};

#endif // VELMIRA_BADCELLS_H
