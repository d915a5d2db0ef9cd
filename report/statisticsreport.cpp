#include "statisticsreport.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

// A stand-in until the report proper is written: one line of text on one
// page, so that the command and its tests have a real PDF to write.
QByteArray statisticsReportPdf(const LogSummary &log, const QVector<SheathEvidence> &sheaths)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Velmira"));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        painter.drawText(
            QPointF(200, 400),
            QStringLiteral("Отчёт: журнал %1, кожухов %2").arg(log.logName).arg(sheaths.size()));
    }
    return buffer.data();
}
