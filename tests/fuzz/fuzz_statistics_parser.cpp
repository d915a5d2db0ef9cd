// Feeds arbitrary bytes to the statistics file parser, read the way the program
// reads a file from disk, and aborts when a property that must hold for every
// input is broken. libFuzzer keeps the input that made it abort.

#include "statisticsfile.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QLatin1Char Comma(',');
const QLatin1Char Blank(' ');

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz_statistics_parser: %s\n", what);
    std::abort();
}

// The stream as statistics/statisticstable.cpp sets it up over its QFile.
std::unique_ptr<QTextStream> programStream(QBuffer &device)
{
    device.open(QIODevice::ReadOnly);
    auto stream = std::make_unique<QTextStream>(&device);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    stream->setEncoding(QStringConverter::System);
#endif
    return stream;
}

// A field as the parser leaves it: simplified, cut at commas. So it holds no
// comma, no whitespace but single blanks, and no blank at a line's start.
void checkField(const QString &field, bool firstOfLine)
{
    require(!field.contains(Comma), "a field holds a comma");
    require(!field.contains(QLatin1String("  ")), "a field holds two blanks in a row");
    for (const QChar c : field)
        require(c == Blank || !c.isSpace(), "a field holds whitespace other than a blank");
    if (firstOfLine)
        require(!field.startsWith(Blank), "the first field of a line starts with a blank");
}

// The lines that QTextStream::readLine() returns for the text: cut at LF, one
// CR before the cut dropped, no empty line after a final LF.
QStringList linesOf(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));

    QBuffer device;
    device.setData(bytes);
    const StatisticsFile file = parseStatistics(*programStream(device));

    require(!file.headerLabels.isEmpty(), "no header label");
    require(file.headerLabels.size() <= 2, "more than two header labels");
    for (int i = 0; i < file.headerLabels.size(); ++i)
        checkField(file.headerLabels.at(i), i == 0);
    for (const StatisticsRow &row : file.rows) {
        checkField(row.diameter, true);
        checkField(row.percentage, false);
    }

    // The same bytes decoded in one piece, and the rows the documented rule
    // gives for them: the first line is the header; of the others, every one
    // that does not start with "#" and holds a comma is a row of its first two
    // comma-separated fields after simplified().
    QBuffer wholeDevice;
    wholeDevice.setData(bytes);
    const QStringList lines = linesOf(programStream(wholeDevice)->readAll());
    require(file.rows.size() < lines.size(), "more rows than lines after the header");

    const QStringList header = lines.constFirst().simplified().split(Comma).mid(0, 2);
    require(file.headerLabels == header, "header labels differ from the first line's fields");

    int row = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(QLatin1Char('#')) || !line.contains(Comma))
            continue;
        require(row < file.rows.size(), "a data line gave no row");
        const QStringList fields = line.simplified().split(Comma);
        require(file.rows.at(row).diameter == fields.at(0), "diameter differs from the line");
        require(file.rows.at(row).percentage == fields.at(1), "percentage differs from the line");
        ++row;
    }
    require(row == file.rows.size(), "a row came from no data line");
    return 0;
}
