#ifndef VELMIRA_REPORTPAGE_H
#define VELMIRA_REPORTPAGE_H

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// One page of the report, laid out from top to bottom: a cursor moves down
// the printable area as headings, paragraphs and drawn blocks are placed.
// Sizes are given in millimetres and points, whatever the writer's resolution.
class ReportPage {
public:
    ReportPage(QPainter &painter, const QRectF &area);

    QPainter &painter() const { return m_painter; }
    double mm(double millimetres) const { return millimetres * m_unitsPerMm; }
    double width() const { return m_area.width(); }
    // Down to the footer, which every page keeps free.
    double remaining() const { return m_footerTop - m_top; }

    // Device units per millimetre of what the painter draws on, whatever its
    // resolution: the PDF writer's, or the screen's.
    static double unitsPerMm(const QPainter &painter);

    // The report's typeface: DejaVu Sans on Linux, the system's sans elsewhere.
    static QFont font(double points, bool bold = false);
    static QFont monospaceFont(double points);

    void heading(const QString &text);
    void subheading(const QString &text);
    void paragraph(const QString &text, double points = 8.5, bool bold = false);
    void skip(double millimetres);
    // Reserves a block of the full width for a drawing and moves below it.
    QRectF take(double millimetres);
    // Moves below a block that a drawing filled to the given height.
    void advance(double height) { m_top += height; }
    QRectF rest() const;

    // The line under every page: who wrote the report, and the page number.
    void footer(const QString &left, const QString &right);

private:
    void text(const QString &text, const QFont &font, double spaceAfterMm);

    QPainter &m_painter;
    QRectF m_area;
    double m_top;
    double m_footerTop;
    double m_unitsPerMm;
};

#endif // VELMIRA_REPORTPAGE_H
