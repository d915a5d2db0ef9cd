// Speed of reading a workbook into cases: a case log of 25,000, 50,000 and 100,000
// cases written as an .xlsx in memory (shared strings for texts, numbers for
// the diameters, date cells), read with WorkbookReader into rows of the seven
// columns a log needs, against the bare cost of inflating the sheet's part
// and walking its XML tokens with QXmlStreamReader. The two run interleaved
// in one process, several repetitions each; the medians, their ratio and the
// growth of the processor time per doubling, the reader's beside the walk's.
//
//   bench_workbook [REPETITIONS]     (default 7; on an otherwise idle machine)

#include "benchtiming.h"
#include "workbookreader.h"
#include "ziparchive.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

const QVector<int> Sizes = {25000, 50000, 100000};
const QVector<int> LogColumns = {1, 2, 3, 4, 5, 6, 7}; // date .. placed: not the name, not the note
constexpr double RatioTarget = 1.5;
const QString SheetPart = QStringLiteral("xl/worksheets/sheet1.xml");

// --- The workbook, written through minizip's zip.h into memory --------------

struct MemoryFile {
    QByteArray bytes;
    qint64 position = 0;
};

voidpf ZCALLBACK openFile(voidpf opaque, const void *, int)
{
    return opaque;
}

uLong ZCALLBACK readFile(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *file = static_cast<MemoryFile *>(stream);
    const qint64 count = std::min<qint64>(qint64(size), file->bytes.size() - file->position);
    std::memcpy(buffer, file->bytes.constData() + file->position, size_t(count));
    file->position += count;
    return uLong(count);
}

uLong ZCALLBACK writeFile(voidpf, voidpf stream, const void *buffer, uLong size)
{
    auto *file = static_cast<MemoryFile *>(stream);
    if (file->position + qint64(size) > file->bytes.size())
        file->bytes.resize(int(file->position + qint64(size)));
    std::memcpy(file->bytes.data() + file->position, buffer, size);
    file->position += qint64(size);
    return size;
}

ZPOS64_T ZCALLBACK tellFile(voidpf, voidpf stream)
{
    return ZPOS64_T(static_cast<MemoryFile *>(stream)->position);
}

long ZCALLBACK seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto *file = static_cast<MemoryFile *>(stream);
    const qint64 base = origin == ZLIB_FILEFUNC_SEEK_CUR ? file->position
        : origin == ZLIB_FILEFUNC_SEEK_END               ? file->bytes.size()
                                                         : 0;
    file->position = base + qint64(offset);
    return 0;
}

int ZCALLBACK closeFile(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK errorFile(voidpf, voidpf)
{
    return 0;
}

void addEntry(zipFile zip, const char *name, const QByteArray &data)
{
    zip_fileinfo info = {};
    zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                          Z_DEFAULT_COMPRESSION, data.size() > 0x7fffffff ? 1 : 0);
    zipWriteInFileInZip(zip, data.constData(), unsigned(data.size()));
    zipCloseFileInZip(zip);
}

QByteArray sheetXml(int cases)
{
    QByteArray xml
        = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
          "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
          "<sheetData><row r=\"1\">";
    for (int column = 0; column < 9; ++column)
        xml += QByteArray("<c r=\"") + char('A' + column) + "1\" t=\"s\"><v>"
            + QByteArray::number(column) + "</v></c>";
    xml += "</row>";
    for (int i = 0; i < cases; ++i) {
        const QByteArray r = QByteArray::number(i + 2);
        const auto diameter = [i](int k) {
            return QByteArray::number(1.2 + ((i * 37 + k * 101) % 1000) / 1000.0, 'g', 15);
        };
        xml += "<row r=\"" + r + "\"><c r=\"A" + r + "\" t=\"s\"><v>" + QByteArray::number(15 + i)
            + "</v></c><c r=\"B" + r + "\" s=\"1\"><v>" + QByteArray::number(44927 + i % 700)
            + "</v></c><c r=\"C" + r + "\"><v>" + diameter(1) + "</v></c><c r=\"D" + r + "\"><v>"
            + diameter(2) + "</v></c><c r=\"E" + r + "\"><v>" + diameter(3) + "</v></c><c r=\"F" + r
            + "\" t=\"s\"><v>" + QByteArray::number(9 + i % 2) + "</v></c><c r=\"G" + r
            + "\" t=\"s\"><v>" + QByteArray::number(11 + (i % 7 == 0)) + "</v></c><c r=\"H" + r
            + "\" t=\"s\"><v>" + QByteArray::number(11 + (i % 3 != 0)) + "</v></c>";
        if (i % 5 == 0)
            xml += "<c r=\"I" + r + "\" t=\"s\"><v>" + QByteArray::number(15 + cases + i / 5)
                + "</v></c>";
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

// The header's nine, the sheath sizes, no and yes, two unused; then the names and notes.
QByteArray sharedStringsXml(int cases)
{
    QList<QByteArray> strings
        = {"Пациент",    "Дата",  "d1",    "d2",  "d3", "Кожух", "Стриктура", "Установлен",
           "Примечание", "10-12", "12-14", "нет", "да", "-",     "-"};
    for (int i = 0; i < cases; ++i)
        strings.append("Пациент " + QByteArray::number(i + 1));
    for (int i = 0; i < cases; i += 5)
        strings.append("примечание к случаю " + QByteArray::number(i + 1));
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                     "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QByteArray &text : qAsConst(strings))
        xml += "<si><t>" + text + "</t></si>";
    return xml + "</sst>";
}

QByteArray workbookBytes(int cases)
{
    const QByteArray main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const QByteArray pkg = "http://schemas.openxmlformats.org/package/2006/relationships";
    MemoryFile file;
    zlib_filefunc64_def functions
        = {openFile, readFile, writeFile, tellFile, seekFile, closeFile, errorFile, &file};
    zipFile zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
    addEntry(zip, "_rels/.rels",
             "<Relationships xmlns=\"" + pkg + "\"><Relationship Id=\"rId1\" Type=\"" + rel
                 + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    addEntry(zip, "xl/workbook.xml",
             "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel
                 + "\"><sheets><sheet name=\"Журнал\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
                   "</workbook>");
    addEntry(zip, "xl/_rels/workbook.xml.rels",
             "<Relationships xmlns=\"" + pkg + "\"><Relationship Id=\"rId1\" Type=\"" + rel
                 + "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                   "Type=\""
                 + rel
                 + "/sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" "
                   "Type=\""
                 + rel + "/styles\" Target=\"styles.xml\"/></Relationships>");
    addEntry(zip, "xl/styles.xml",
             "<styleSheet xmlns=\"" + main
                 + "\"><cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>"
                   "</styleSheet>");
    addEntry(zip, "xl/sharedStrings.xml", sharedStringsXml(cases));
    addEntry(zip, "xl/worksheets/sheet1.xml", sheetXml(cases));
    zipClose(zip, nullptr);
    return file.bytes;
}

// --- The two passes ------------------------------------------------------------

// The bare cost: the sheet's part inflated, its tokens walked.
int baselinePass(const QByteArray &bytes)
{
    ZipArchive archive(bytes);
    QString error;
    const QByteArray sheet = archive.read(SheetPart, WorkbookReader::DefaultPartLimit, &error);
    QXmlStreamReader xml(sheet);
    int rows = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("row"))
            ++rows;
    }
    return rows;
}

// The reader's pass: rows of the log's seven columns, each cell's text looked at.
int readerPass(const QByteArray &bytes)
{
    QString error;
    const auto reader = WorkbookReader::open(bytes, &error);
    int rows = 0;
    qint64 characters = 0;
    SheetRow row;
    while (reader && reader->nextSheet()) {
        while (reader->readRow(row, LogColumns)) {
            ++rows;
            for (const QString &cell : qAsConst(row.cells))
                characters += cell.size();
        }
    }
    return characters > 0 ? rows : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 7;
    std::printf("%d repetitions, medians; reading into rows of 7 columns against inflating the "
                "sheet and walking its tokens (target at most %.1fx)\n",
                repetitions, RatioTarget);
    std::printf("%8s %10s %12s %12s %8s %12s %12s %8s %8s %8s\n", "cases", "xlsx KB", "walk ms",
                "read ms", "x", "walk cpu", "read cpu", "cpu x", "growth", "walk gr.");
    double previous = 0;
    double previousWalk = 0;
    for (const int cases : Sizes) {
        const QByteArray bytes = workbookBytes(cases);
        QVector<double> walkWall, readWall, walkCpu, readCpu;
        for (int i = 0; i < repetitions; ++i) {
            int walked = 0;
            int read = 0;
            const Timing walk = timed([&] { walked = baselinePass(bytes); });
            const Timing full = timed([&] { read = readerPass(bytes); });
            if (walked != cases + 1 || read != cases + 1) {
                std::fprintf(stderr, "bench_workbook: %d and %d rows, not %d\n", walked, read,
                             cases + 1);
                return 1;
            }
            walkWall.append(walk.wallMs);
            readWall.append(full.wallMs);
            walkCpu.append(walk.cpuMs);
            readCpu.append(full.cpuMs);
        }
        const double wall = median(readWall);
        // The growth of the processor time per doubling, the reader's and the walk's.
        const double cpu = median(readCpu);
        const double walkCpuMs = median(walkCpu);
        const QString growth
            = previous > 0 ? QString::asprintf("%.2f", cpu / previous) : QStringLiteral("-");
        const QString walkGrowth = previousWalk > 0
            ? QString::asprintf("%.2f", walkCpuMs / previousWalk)
            : QStringLiteral("-");
        std::printf("%8d %10lld %12.1f %12.1f %8.2f %12.1f %12.1f %8.2f %8s %8s\n", cases,
                    qint64(bytes.size()) / 1024, median(walkWall), wall, wall / median(walkWall),
                    walkCpuMs, cpu, cpu / walkCpuMs, qPrintable(growth), qPrintable(walkGrowth));
        previous = cpu;
        previousWalk = walkCpuMs;
    }
    return 0;
}
