#include "statisticsreport.h"

#include "checkpage.h"
#include "reportpage.h"
#include "reporttexts.h"
#include "sheathpage.h"
#include "summarypage.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace {

// Fine enough that the plot's thinnest rules and smallest points keep their
// shape; the PDF stays vector graphics whatever the figure.
constexpr int Resolution = 600;

void setUp(QPdfWriter &writer, const LogSummary &log)
{
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(16.0, 14.0, 16.0, 12.0), QPageLayout::Millimeter);
    writer.setTitle(ReportTexts::documentTitle());
    writer.setCreator(ReportTexts::programVersion(log));
}

// Draws one page through the given function, with the common footer.
void drawPage(QPainter &painter, const QPdfWriter &writer, const LogSummary &log, int number,
              int pages, const std::function<void(ReportPage &)> &content)
{
    const QRect paint = writer.pageLayout().paintRectPixels(writer.resolution());
    ReportPage page(painter, QRectF(0, 0, paint.width(), paint.height()));
    content(page);
    page.footer(ReportTexts::footerLeft(log), ReportTexts::footerRight(number, pages));
}

} // namespace

QByteArray statisticsReportPdf(const LogSummary &log, const QVector<SheathEvidence> &sheaths,
                               const std::optional<TablesValidation> &validation)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    QPdfWriter writer(&buffer);
    setUp(writer, log);
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    const int pages = 1 + sheaths.size() + (validation ? 1 : 0);
    drawPage(painter, writer, log, 1, pages,
             [&](ReportPage &page) { SummaryPage(log, sheaths).draw(page); });
    for (int i = 0; i < sheaths.size(); ++i) {
        writer.newPage();
        drawPage(painter, writer, log, i + 2, pages,
                 [&](ReportPage &page) { SheathPage(log, sheaths.at(i)).draw(page); });
    }
    if (validation) {
        writer.newPage();
        drawPage(painter, writer, log, pages, pages,
                 [&](ReportPage &page) { CheckPage(*validation).draw(page); });
    }
    // The writer puts the document into the buffer only when painting ends.
    if (!painter.end())
        return {};
    return pdf;
}
