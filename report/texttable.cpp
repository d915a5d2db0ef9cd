#include "texttable.h"

#include "reportpage.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace {

constexpr int CellFlags = Qt::TextWordWrap | Qt::AlignVCenter;

// The space between a cell's text and its rules, in millimetres.
constexpr double PaddingX = 1.0;
constexpr double PaddingY = 0.45;

} // namespace

TextTable::TextTable(const QVector<Column> &columns, double points)
    : m_columns(columns), m_points(points)
{
}

void TextTable::addRow(const QStringList &cells, int monospaceColumn)
{
    m_rows.append({cells, monospaceColumn});
}

bool TextTable::hasHeader() const
{
    for (const Column &column : m_columns) {
        if (!column.title.isEmpty())
            return true;
    }
    return false;
}

QVector<QFont> TextTable::rowFonts(const Row &row) const
{
    QVector<QFont> fonts(m_columns.size(), ReportPage::font(m_points));
    if (row.monospaceColumn >= 0 && row.monospaceColumn < fonts.size())
        fonts[row.monospaceColumn] = ReportPage::monospaceFont(m_points - 1.0);
    return fonts;
}

QVector<QFont> TextTable::headerFonts() const
{
    // A little smaller than the cells, so that short column titles fit narrow columns.
    return QVector<QFont>(m_columns.size(), ReportPage::font(m_points - 0.5, true));
}

QVector<QRectF> TextTable::cellRects(const QRectF &frame, double top, double height) const
{
    QVector<QRectF> rects;
    double left = frame.left();
    for (const Column &column : m_columns) {
        const double width = column.width * frame.width();
        rects.append(QRectF(left, top, width, height));
        left += width;
    }
    return rects;
}

double TextTable::rowHeight(QPainter &painter, const QRectF &frame, const QStringList &cells,
                            const QVector<QFont> &fonts) const
{
    const double mm = ReportPage::unitsPerMm(painter);
    const QVector<QRectF> rects = cellRects(frame, 0.0, frame.height());
    double height = QFontMetricsF(fonts.value(0), painter.device()).height();
    for (int i = 0; i < rects.size() && i < cells.size(); ++i) {
        const QRectF room = rects.at(i).adjusted(PaddingX * mm, 0, -PaddingX * mm, 0);
        const QFontMetricsF metrics(fonts.at(i), painter.device());
        height = qMax(height, metrics.boundingRect(room, CellFlags, cells.at(i)).height());
    }
    return height + 2 * PaddingY * mm;
}

double TextTable::drawRow(QPainter &painter, const QRectF &frame, double top,
                          const QStringList &cells, const QVector<QFont> &fonts) const
{
    const double mm = ReportPage::unitsPerMm(painter);
    const double height = rowHeight(painter, frame, cells, fonts);
    const QVector<QRectF> rects = cellRects(frame, top, height);
    for (int i = 0; i < rects.size() && i < cells.size(); ++i) {
        painter.setFont(fonts.at(i));
        const QRectF room = rects.at(i).adjusted(PaddingX * mm, 0, -PaddingX * mm, 0);
        painter.drawText(room, CellFlags | int(m_columns.at(i).alignment), cells.at(i));
    }
    return height;
}

double TextTable::draw(QPainter &painter, const QRectF &frame) const
{
    painter.save();
    const QPen rule(QColor(150, 150, 150), ReportPage::unitsPerMm(painter) * 0.15);
    double top = frame.top();
    if (hasHeader()) {
        QStringList titles;
        for (const Column &column : m_columns)
            titles.append(column.title);
        const double height = rowHeight(painter, frame, titles, headerFonts());
        painter.fillRect(QRectF(frame.left(), top, frame.width(), height), QColor(232, 236, 242));
        painter.setPen(Qt::black);
        top += drawRow(painter, frame, top, titles, headerFonts());
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        const QVector<QFont> fonts = rowFonts(m_rows.at(i));
        const double height = rowHeight(painter, frame, m_rows.at(i).cells, fonts);
        if (i % 2 == 1)
            painter.fillRect(QRectF(frame.left(), top, frame.width(), height),
                             QColor(246, 246, 246));
        painter.setPen(rule);
        painter.drawLine(QPointF(frame.left(), top), QPointF(frame.right(), top));
        painter.setPen(Qt::black);
        top += drawRow(painter, frame, top, m_rows.at(i).cells, fonts);
    }
    painter.setPen(rule);
    painter.drawLine(QPointF(frame.left(), top), QPointF(frame.right(), top));
    painter.restore();
    return top - frame.top();
}
