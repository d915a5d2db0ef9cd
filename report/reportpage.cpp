#include "reportpage.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

ReportPage::ReportPage(QPainter &painter, const QRectF &area)
    : m_painter(painter), m_area(area), m_top(area.top()), m_unitsPerMm(unitsPerMm(painter))
{
    m_footerTop = m_area.bottom() - mm(7.0);
}

double ReportPage::unitsPerMm(const QPainter &painter)
{
    return painter.device()->logicalDpiY() / 25.4;
}

QFont ReportPage::font(double points, bool bold)
{
    // Chosen by family and hint, never by a font file's path, so that the
    // Windows build finds its own sans serif.
#ifdef Q_OS_WIN
    QFont font(QStringLiteral("Arial"));
#else
    QFont font(QStringLiteral("DejaVu Sans"));
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont ReportPage::monospaceFont(double points)
{
#ifdef Q_OS_WIN
    QFont font(QStringLiteral("Consolas"));
#else
    QFont font(QStringLiteral("DejaVu Sans Mono"));
#endif
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(points);
    return font;
}

void ReportPage::heading(const QString &text)
{
    this->text(text, font(15.0, true), 2.0);
}

void ReportPage::subheading(const QString &text)
{
    skip(1.5);
    this->text(text, font(10.5, true), 1.0);
}

void ReportPage::paragraph(const QString &text, double points, bool bold)
{
    this->text(text, font(points, bold), 1.2);
}

void ReportPage::skip(double millimetres)
{
    m_top += mm(millimetres);
}

QRectF ReportPage::take(double millimetres)
{
    const QRectF block(m_area.left(), m_top, m_area.width(), mm(millimetres));
    m_top = block.bottom();
    return block;
}

QRectF ReportPage::rest() const
{
    return QRectF(m_area.left(), m_top, m_area.width(), remaining());
}

void ReportPage::footer(const QString &left, const QString &right)
{
    const QFont small = font(7.5);
    const double height = QFontMetricsF(small, m_painter.device()).height();
    const QRectF line(m_area.left(), m_area.bottom() - height, m_area.width(), height);
    m_painter.save();
    m_painter.setFont(small);
    m_painter.setPen(QColor(90, 90, 90));
    m_painter.drawLine(line.topLeft() - QPointF(0, mm(1.0)), line.topRight() - QPointF(0, mm(1.0)));
    m_painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, left);
    m_painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, right);
    m_painter.restore();
}

void ReportPage::text(const QString &text, const QFont &font, double spaceAfterMm)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF room(m_area.left(), m_top, m_area.width(), remaining());
    const QRectF used = QFontMetricsF(font, m_painter.device()).boundingRect(room, flags, text);
    m_painter.save();
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(room, flags, text);
    m_painter.restore();
    m_top += used.height() + mm(spaceAfterMm);
}
