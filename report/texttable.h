#ifndef VELMIRA_TEXTTABLE_H
#define VELMIRA_TEXTTABLE_H

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

class QFont;
class QPainter;

// A table of text, drawn with thin rules and lightly shaded alternate rows,
// as a printed table reads best. Column widths are fractions of the frame's
// width; cells wrap at word boundaries and a row is as tall as its tallest cell.
class TextTable {
public:
    struct Column {
        QString title; // no header row when every title is empty
        double width; // fraction of the table's width
        Qt::Alignment alignment;
    };

    TextTable(const QVector<Column> &columns, double points);

    // A cell whose text has no break points, such as a hash, in a monospaced face.
    void addRow(const QStringList &cells, int monospaceColumn = -1);
    int rowCount() const { return m_rows.size(); }

    // Draws at the top of the frame and returns the height used.
    double draw(QPainter &painter, const QRectF &frame) const;

private:
    struct Row {
        QStringList cells;
        int monospaceColumn;
    };

    bool hasHeader() const;
    QVector<QRectF> cellRects(const QRectF &frame, double top, double height) const;
    double rowHeight(QPainter &painter, const QRectF &frame, const QStringList &cells,
                     const QVector<QFont> &fonts) const;
    double drawRow(QPainter &painter, const QRectF &frame, double top, const QStringList &cells,
                   const QVector<QFont> &fonts) const;
    QVector<QFont> rowFonts(const Row &row) const;
    QVector<QFont> headerFonts() const;

    QVector<Column> m_columns;
    QVector<Row> m_rows;
    double m_points;
};

#endif // VELMIRA_TEXTTABLE_H
