// velmira-stats' sample texts, one per translation context, for tst_texts.
#include "textsamples.h"

#include "badcelltexts.h"
#include "boundchecktexts.h"
#include "calibrationplot.h"
#include "caselogreader.h"
#include "checkpage.h"
#include "checkrun.h"
#include "filewrite.h"
#include "installrun.h"
#include "logcolumns.h"
#include "logevidence.h"
#include "logheader.h"
#include "logsummarytexts.h"
#include "outputfolder.h"
#include "releasehistory.h"
#include "reportpage.h"
#include "reporttexts.h"
#include "restorerun.h"
#include "sheathpage.h"
#include "statisticswriter.h"
#include "statsoptions.h"
#include "statsrun.h"
#include "summarypage.h"
#include "tablecheck.h"
#include "tablechecktexts.h"
#include "unseencases.h"
#include "workbookreader.h"

#include <cerrno>

#include <QLoggingCategory>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <climits>
#include <cstdio>
#include <unistd.h>

namespace {

// Keeps the text of everything drawn, in order, and draws nothing: what the
// report's pages show, without a PDF to take apart.
class TextRecordingEngine : public QPaintEngine {
public:
    TextRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) { }
    using QPaintEngine::drawPolygon;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override { }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
    void drawPath(const QPainterPath &) override { }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { }
    void drawTextItem(const QPointF &, const QTextItem &item) override { text += item.text(); }
    Type type() const override { return QPaintEngine::User; }

    QString text;
};

// An A4 page at 300 dpi, as the report's writer has it.
class TextRecorder : public QPaintDevice {
public:
    QPaintEngine *paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 2480;
        case PdmHeight:
            return 3508;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 300;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

    mutable TextRecordingEngine engine;
};

// A small log with cases in the 10-12 Ch table's rows and below its lower bound.
const LogEvidence &evidence()
{
    // The calculator's rule logs every smallest diameter it reads, as noise here.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    static const LogEvidence gathered
        = gatherLogEvidence(QByteArrayLiteral("d1,d2,d3,sheath,stricture,placed\n"
                                              "1.50,1.60,1.70,10-12,нет,да\n"
                                              "1.52,1.60,1.70,10-12,нет,нет\n"
                                              "1.55,1.60,1.70,10-12,нет,да\n"
                                              "1.40,1.60,1.70,10-12,нет,нет\n"));
    return gathered;
}

LogSummary summary()
{
    LogSummary log;
    log.logName = QStringLiteral("journal.csv");
    log.sha256 = evidence().sha256;
    log.rowsRead = evidence().reading.rowsRead;
    log.written = QDateTime(QDate(2026, 1, 5), QTime(8, 30));
    log.version = QStringLiteral("1.0.0");
    return log;
}

// What a page of the report shows, drawn by content.
QString pageText(const std::function<void(ReportPage &)> &content)
{
    TextRecorder recorder;
    QPainter painter(&recorder);
    ReportPage page(painter, QRectF(0, 0, recorder.width(), recorder.height()));
    content(page);
    painter.end();
    return recorder.engine.text;
}

QString sheathPageText()
{
    const LogSummary log = summary();
    return pageText(
        [&](ReportPage &page) { SheathPage(log, evidence().sheaths.at(0)).draw(page); });
}

// The page on the tables' check, of the small log's tables on its own cases.
QString checkPageText()
{
    const TablesValidation validation = validateTables(evidence().sheaths, evidence().cases);
    return pageText([&](ReportPage &page) { CheckPage(validation).draw(page); });
}

QString summaryPageText()
{
    const LogSummary log = summary();
    return pageText([&](ReportPage &page) { SummaryPage(log, evidence().sheaths).draw(page); });
}

// What a run says on standard error.
QString standardErrorOf(const std::function<void()> &run)
{
    QTemporaryFile error;
    if (!error.open())
        return {};
    std::fflush(stderr);
    const int standardError = dup(STDERR_FILENO);
    dup2(error.handle(), STDERR_FILENO);
    run();
    std::fflush(stderr);
    dup2(standardError, STDERR_FILENO);
    close(standardError);
    error.seek(0);
    return QString::fromUtf8(error.readAll());
}

// What velmira-stats says on standard error, run on a log that does not exist.
QString missingLogError()
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    StatsRequest request;
    request.log = folder.filePath(QStringLiteral("нет.csv"));
    request.outputFolder = folder.path();
    return standardErrorOf([&request] {
        StatsRun(request,
                 [](const LogSummary &, const QVector<SheathEvidence> &,
                    const std::optional<TablesValidation> &) { return QByteArray(); })
            .exec();
    });
}

// What velmira-stats --check says when the tables' folder does not exist.
QString missingTablesError()
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    StatsRequest request;
    request.check = true;
    request.log = folder.filePath(QStringLiteral("журнал.csv"));
    request.tablesFolder = folder.filePath(QStringLiteral("нет"));
    return standardErrorOf([&request] { CheckRun(request).exec(); });
}

QString missingFolderError()
{
    QTemporaryDir folder;
    return OutputFolder(folder.filePath(QStringLiteral("нет"))).check({}, false);
}

} // namespace

QMap<QString, TextSample> textSamples()
{
    return {
        {QStringLiteral("BadCellTexts"),
         {[] { return BadCellTexts::expected(LogColumn::Sheath); },
          QStringLiteral("нужен кожух 10-12 или 12-14")}},
        {QStringLiteral("BoundCheckTexts"),
         {[] { return BoundCheckTexts::counts(evidence().sheaths.at(0).lower); },
          QStringLiteral("установлено %1 из %2")}},
        {QStringLiteral("CalibrationPlot"), {checkPageText, QStringLiteral("Показанная цифра, %")}},
        {QStringLiteral("CheckPage"), {checkPageText, QStringLiteral("Проверка таблиц")}},
        {QStringLiteral("CheckRun"), {missingTablesError, QStringLiteral("папки таблиц %1 нет.")}},
        {QStringLiteral("CaseLogReader"),
         {[] { return gatherLogEvidence(QByteArray()).reading.error; },
          QStringLiteral("журнал пуст: в нём нет даже строки заголовка.")}},
        {QStringLiteral("EvidencePlot"), {sheathPageText, QStringLiteral("n = %1")}},
        {QStringLiteral("FileWrite"),
         {[] { return FileWrite::reason(ENOSPC, {}); }, QStringLiteral("на диске нет места")}},
        {QStringLiteral("InstallRun"),
         {[] {
              QTemporaryDir folder;
              QVector<OutputFile> files;
              QString reason;
              InstallRun(folder.path(), folder.path()).gather(files, reason);
              return reason;
          },
          QStringLiteral("в папке %1 нет ни Statistics_1.txt, ни Statistics_2.txt.")}},
        {QStringLiteral("ReleaseHistory"),
         {[] {
              Release release;
              release.number = 3;
              release.time = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
              release.action = QStringLiteral("установка");
              return ReleaseHistory::describe(release);
          },
          QStringLiteral("выпуск %1 от %2 (%3")}},
        {QStringLiteral("RestoreRun"),
         {[] {
              QTemporaryDir folder;
              QVector<OutputFile> files;
              QString reason;
              int number = 0;
              RestoreRun(folder.path(), 0).gather(ReleaseHistory(), files, reason, &number);
              return reason;
          },
          QStringLiteral("в папке %1 нет истории выпусков (%2): вернуть можно только выпуски, "
                         "установленные этой версией или позже. Прежние таблицы лежат рядом под "
                         "именами со временем их замены.")}},
        {QStringLiteral("LogHeaderSearch"),
         {[] { return gatherLogEvidence(QByteArray(20, '\n') + "x\n").reading.error; },
          QStringLiteral("в первых %1 строках нет ни одной заполненной, а заголовок журнала "
                         "должен быть среди них.")}},
        {QStringLiteral("LogSummaryTexts"),
         {LogSummaryTexts::roundedWarning,
          QStringLiteral("диаметры журнала, похоже, округлены: ни у одного нет больше одного "
                         "знака после запятой, а строки таблицы идут через 0.01 мм. Прочитайте "
                         "саму книгу (.xlsx, .ods) или расширьте формат ячеек с диаметрами перед "
                         "сохранением в CSV")}},
        {QStringLiteral("LogColumns"),
         {[] { return logColumnNames(LogColumn::Sheath); }, QStringLiteral("%1 (или «%2»)")}},
        {QStringLiteral("OutputFolder"),
         {missingFolderError,
          QStringLiteral("папки %1 нет. Создайте её или укажите другую в %2.")}},
        {QStringLiteral("PlotAxes"),
         {sheathPageText, QStringLiteral("Наименьший диаметр мочеточника, мм")}},
        {QStringLiteral("PlotLegend"), {sheathPageText, QStringLiteral("фиксированная граница")}},
        {QStringLiteral("ReportTexts"),
         {ReportTexts::documentTitle,
          QStringLiteral("Статистика клиники: отчёт о таблицах вероятности установки "
                         "мочеточникового кожуха")}},
        {QStringLiteral("RowTable"), {sheathPageText, QStringLiteral("Примечание")}},
        {QStringLiteral("SheathPage"), {sheathPageText, QStringLiteral("Строки таблицы")}},
        {QStringLiteral("StatisticsWriter"),
         {[] { return evidenceSummaryLine(summary(), evidence().sheaths.at(0)); },
          QStringLiteral("; изотоническая регрессия, 95 % ДИ Уилсона")}},
        {QStringLiteral("StatsOptions"),
         {[] { return StatsOptions::parse({QStringLiteral("velmira-stats")}).error; },
          QStringLiteral("не указан журнал случаев. Справка: velmira-stats --help")}},
        {QStringLiteral("StatsRun"),
         {missingLogError, QStringLiteral("журнала %1 нет: такого файла не найдено.")}},
        {QStringLiteral("SummaryPage"), {summaryPageText, QStringLiteral("Журнал случаев")}},
        {QStringLiteral("TableCheckTexts"),
         {[] { return TableCheckTexts::summary(checkTables(FigureTally())); },
          QStringLiteral("Случаев с цифрой для проверки нет: проверять таблицы не на чем.\n")}},
        {QStringLiteral("UnseenCases"),
         {[] { return UnseenCases({}, QDate(2026, 1, 1)).text(); },
          QStringLiteral("Проверены случаи с %1, которых таблицы не видели: %2.")}},
        {QStringLiteral("WorkbookReader"),
         {[] {
              QString error;
              WorkbookReader::open(QByteArray("d1;d2;d3"), &error);
              return error;
          },
          QStringLiteral("это не книга .xlsx или .ods: в файле нет архива ZIP")}},
    };
}
