#include "statisticsreader.h"

#include "pendingreplace.h"
#include "rowcounts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#else
#include <QTextCodec>
#endif

namespace {

// Enough for any header a person writes; a runaway first line is judged by its start.
constexpr qint64 HeaderLookAhead = 4096;

StatisticsDiagnosis located(const QString &path, StatisticsDiagnosis::Status status)
{
    const QFileInfo info(path);
    StatisticsDiagnosis diagnosis;
    diagnosis.status = status;
    diagnosis.fileName = info.fileName();
    diagnosis.folder = QDir::toNativeSeparators(QDir::cleanPath(info.absolutePath()));
    diagnosis.isDirectory = info.isDir();
    return diagnosis;
}

// Incomplete sequences at the end are not errors: the look ahead may cut one.
bool isUtf8(const QByteArray &bytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded)
    return !decoder.hasError();
#else
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), int(bytes.size()), &state);
    return state.invalidChars == 0;
#endif
}

// Whether the first line, as far as a short look ahead reaches, is valid UTF-8,
// or the file starts with a UTF-16 byte-order mark, which decodes it whatever
// the system's encoding. Leaves the device's position where it was.
bool headerIsUtf8(QIODevice &device)
{
    const QByteArray start = device.peek(HeaderLookAhead);
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return true;
    const int end = int(start.indexOf('\n'));
    return isUtf8(end < 0 ? start : start.left(end));
}

StatisticsFile parsedInSystemEncoding(QIODevice &device)
{
    QTextStream stream(&device);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 5 decoded with the system's codec; Qt 6 is told to. A byte-order mark
    // still takes precedence.
    stream.setEncoding(QStringConverter::System);
#endif
    return parseStatistics(stream);
}

void noteEvidence(StatisticsDiagnosis &diagnosis, const StatisticsFile &file)
{
    diagnosis.hasEvidenceColumns = hasRowCountsColumns(file.headerLabels + file.extraHeaderLabels);
    if (!diagnosis.hasEvidenceColumns) {
        diagnosis.hasOtherColumns
            = !file.extraHeaderLabels.isEmpty() || file.rowsWithExtraFields > 0;
        return;
    }
    for (int i = 0; i < int(file.rows.size()); ++i) {
        const RowEvidence evidence = rowEvidence(file.rows.at(i));
        if (evidence.counts) {
            ++diagnosis.countedRows;
            diagnosis.evidenceCases += evidence.counts->cases;
        } else if (evidence.disagrees() && diagnosis.malformedEvidenceRows++ == 0) {
            diagnosis.firstMalformedEvidenceRow = i;
        }
    }
}

StatisticsDiagnosis diagnoseParsed(const QString &path, const StatisticsFile &file,
                                   bool headerIsUtf8)
{
    StatisticsDiagnosis diagnosis
        = located(path,
                  file.rows.isEmpty() ? StatisticsDiagnosis::Status::NoDataRows
                                      : StatisticsDiagnosis::Status::Loaded);
    diagnosis.rows = int(file.rows.size());
    diagnosis.unusableRows = file.unusableRows;
    diagnosis.firstUnusableLine = file.firstUnusableLine;
    diagnosis.firstUnusableRow = file.firstUnusableRow;
    diagnosis.spreadsheetExport = file.hasSemicolons && file.unusableRows == diagnosis.rows;
    diagnosis.headerNotUtf8 = !headerIsUtf8;
    diagnosis.comments = file.comments;
    noteEvidence(diagnosis, file);
    return diagnosis;
}

} // namespace

StatisticsRead readStatisticsFile(const QString &path)
{
    using Status = StatisticsDiagnosis::Status;
    // A replacement in progress is read as the new set it already is.
    const QString current = currentFilePath(path);
    // Judged before opening: opening a pipe waits for a writer, and a link
    // to /dev/zero never ends. Both are left like a file that is not there.
    const QFileInfo info(current);
    if (info.exists() && !info.isDir() && !info.isFile()) {
        StatisticsRead refused {StatisticsFile(), located(path, Status::NotReadable), {}};
        refused.diagnosis.notRegularFile = true;
        return refused;
    }
    // No Text flag: the stream itself ends lines at LF and drops a CR before it.
    QFile file(current);
    if (!file.open(QIODevice::ReadOnly))
        return {StatisticsFile(),
                located(path, QFileInfo::exists(path) ? Status::NotReadable : Status::NotFound),
                {}};
    // A size the file reports can lie (or grow); no more than one byte past the limit is read.
    QByteArray bytes = file.read(MaxStatisticsFileBytes + 1);
    if (bytes.size() > MaxStatisticsFileBytes) {
        StatisticsRead refused {StatisticsFile(), located(path, Status::NotReadable), {}};
        refused.diagnosis.tooLarge = true;
        return refused;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool utf8Header = headerIsUtf8(buffer);
    StatisticsRead read;
    read.file = parsedInSystemEncoding(buffer);
    read.diagnosis = diagnoseParsed(path, read.file, utf8Header);
    read.bytes = bytes;
    return read;
}
