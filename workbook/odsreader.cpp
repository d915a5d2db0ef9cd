#include "odsreader.h"

#include "celltext.h"
#include "xmlpart.h"

#include <algorithm>

namespace {

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;

const QLatin1String TableNamespace("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QLatin1String OfficeNamespace("urn:oasis:names:tc:opendocument:xmlns:office:1.0");

// A repeat count: at least 1, and no more than a sheet has rows.
int readRepeat(QStringView text)
{
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 1;
        value = std::min<qint64>(value * 10 + (c.unicode() - u'0'), qint64(MaxRows) + 1);
    }
    return value < 1 ? 1 : int(value);
}

} // namespace

OdsReader::OdsReader(std::unique_ptr<ZipArchive> archive, qint64 partLimit)
    : m_archive(std::move(archive)), m_partLimit(partLimit)
{
}

OdsReader::~OdsReader() = default;

bool OdsReader::fail(const QString &error)
{
    m_error = error;
    m_content.reset();
    m_inSheet = false;
    m_repeatsLeft = 0;
    return false;
}

bool OdsReader::open()
{
    if (!m_archive->isOpen())
        return fail(m_archive->error());
    const QString name = QStringLiteral("content.xml");
    QString error;
    std::unique_ptr<ZipEntryDevice> entry = m_archive->open(name, m_partLimit, &error);
    if (!entry)
        return fail(error);
    m_content = std::make_unique<XmlPart>(name, std::move(entry));
    return true;
}

QString OdsReader::formatName() const
{
    return QStringLiteral("OpenDocument (.ods)");
}

// Steps over what is left of the current table.
void OdsReader::finishSheet()
{
    QXmlStreamReader &xml = m_content->xml();
    while (m_inSheet && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            xml.skipCurrentElement();
        else if (token == QXmlStreamReader::EndElement && m_depth-- == 0)
            m_inSheet = false;
    }
    m_inSheet = false;
    m_repeatsLeft = 0;
}

bool OdsReader::nextSheet()
{
    if (!m_content)
        return false;
    finishSheet();
    QXmlStreamReader &xml = m_content->xml();
    while (m_content->findStart(QLatin1String("table"))) {
        if (xml.namespaceUri() != TableNamespace)
            continue;
        m_sheetName = m_content->attribute(QLatin1String("name")).toString();
        m_inSheet = true;
        m_depth = 0;
        m_lastRow = 0;
        return true;
    }
    if (m_content->failed())
        return fail(m_content->error());
    m_content.reset();
    return false;
}

void OdsReader::mapColumns(const QVector<int> &columns)
{
    m_columns = columns;
}

bool OdsReader::readRow(SheetRow &row, const QVector<int> &columns)
{
    if (m_repeatsLeft > 0) {
        --m_repeatsLeft;
        row = m_repeated;
        row.number = ++m_repeated.number;
        return true;
    }
    if (!m_content || !m_inSheet)
        return false;
    mapColumns(columns);
    QXmlStreamReader &xml = m_content->xml();
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (m_depth-- == 0) {
                m_inSheet = false;
                return false;
            }
        } else if (token != QXmlStreamReader::StartElement) {
            continue;
        } else if (xml.name() == QLatin1String("table-row")) {
            if (readRowElement(row, columns.isEmpty()))
                return true;
            if (m_pastEnd)
                return fail(WorkbookReader::tr("лист «%1»: строки после %2-й, а на листе не "
                                               "больше %2 строк: книга повреждена.")
                                .arg(m_sheetName)
                                .arg(MaxRows));
        } else if (xml.name() == QLatin1String("table-header-rows")
                   || xml.name() == QLatin1String("table-row-group")
                   || xml.name() == QLatin1String("table-rows")) {
            ++m_depth;
        } else {
            xml.skipCurrentElement(); // columns' styles, named ranges, shapes
        }
    }
    if (m_content->failed())
        return fail(m_content->error());
    m_inSheet = false;
    return false;
}

// One <table:table-row>, which may stand for many: true when it holds anything.
bool OdsReader::readRowElement(SheetRow &row, bool everyColumn)
{
    const int repeat = readRepeat(m_content->attribute(QLatin1String("number-rows-repeated")));
    const qint64 first = m_lastRow + 1;
    m_lastRow += repeat;
    row.cells.clear();
    if (!everyColumn)
        row.cells.resize(m_columns.size());
    QXmlStreamReader &xml = m_content->xml();
    bool holdsAnything = false;
    int column = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() != QLatin1String("table-cell")
            && xml.name() != QLatin1String("covered-table-cell")) {
            xml.skipCurrentElement();
            continue;
        }
        int cellRepeat = 1;
        holdsAnything = readCell(row, column, everyColumn, cellRepeat) || holdsAnything;
        column = int(std::min<qint64>(qint64(column) + cellRepeat, MaxColumns));
    }
    if (!holdsAnything)
        return false;
    // Past the sheet's last row no spreadsheet shows a case: they would be
    // dropped without a word.
    if (m_lastRow > MaxRows) {
        m_pastEnd = true;
        return false;
    }
    row.number = int(first);
    // Each of the rows it stands for is a case of its own.
    m_repeatsLeft = repeat - 1;
    if (m_repeatsLeft > 0)
        m_repeated = row;
    return true;
}

// One cell, which may stand for several in a row; true when it holds anything.
bool OdsReader::readCell(SheetRow &row, int column, bool everyColumn, int &repeat)
{
    const CellStart cell = readCellStart(column, everyColumn);
    repeat = cell.repeat;
    if (!cell.wanted) {
        const bool typed = !cell.valueType.isEmpty() && cell.valueType != QLatin1String("string");
        if (typed) {
            m_content->xml().skipCurrentElement();
            return true;
        }
        return m_content->skipHasText();
    }
    const QString value = cellValue(cell);
    if (value.isEmpty())
        return false;
    place(row, column, repeat, value, everyColumn);
    return true;
}

// The cell's attributes in one pass: its repeat count, value type, and its
// value when the cell is wanted.
OdsReader::CellStart OdsReader::readCellStart(int column, bool everyColumn)
{
    CellStart cell;
    const QXmlStreamAttributes attributes = m_content->xml().attributes();
    QStringView value, date, time, logical;
    for (const QXmlStreamAttribute &attribute : attributes) {
        const QStringView name = attribute.name();
        if (name == QLatin1String("number-columns-repeated"))
            cell.repeat = readRepeat(attribute.value());
        else if (attribute.namespaceUri() != OfficeNamespace)
            continue;
        else if (name == QLatin1String("value-type"))
            cell.valueType = attribute.value().toString();
        else if (name == QLatin1String("value"))
            value = attribute.value();
        else if (name == QLatin1String("date-value"))
            date = attribute.value();
        else if (name == QLatin1String("time-value"))
            time = attribute.value();
        else if (name == QLatin1String("boolean-value"))
            logical = attribute.value();
    }
    cell.wanted = everyColumn || isWanted(column, cell.repeat);
    if (!cell.wanted)
        return cell;
    if (cell.valueType == QLatin1String("date"))
        cell.value = CellText::isoDay(date);
    else if (cell.valueType == QLatin1String("time"))
        cell.value = CellText::duration(time);
    else if (cell.valueType == QLatin1String("boolean"))
        cell.value
            = CellText::logical(logical == QLatin1String("true") || logical == QLatin1String("1"));
    else if (!value.isEmpty())
        cell.value = CellText::number(value);
    return cell;
}

bool OdsReader::isWanted(int column, int repeat) const
{
    for (const int wanted : m_columns) {
        if (wanted >= column && wanted - column < repeat)
            return true;
    }
    return false;
}

// The stored value where the type has one, else the cell's paragraphs.
QString OdsReader::cellValue(const CellStart &cell)
{
    const bool typed = !cell.valueType.isEmpty() && cell.valueType != QLatin1String("string");
    if (typed && !cell.value.isEmpty()) {
        m_content->xml().skipCurrentElement();
        return cell.value;
    }
    return paragraphs();
}

// The cell's paragraphs joined by line breaks; comments on the cell left out.
QString OdsReader::paragraphs()
{
    QXmlStreamReader &xml = m_content->xml();
    QString text;
    bool first = true;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("p")) {
            if (!first)
                text += QLatin1Char('\n');
            first = false;
            text += paragraphText();
            if (!m_content->cellTextFits(text.size()))
                break;
        } else {
            xml.skipCurrentElement(); // annotations, shapes
        }
    }
    return text;
}

// One paragraph: spans and links as their text, the space, tab and line
// break elements as the characters they stand for.
QString OdsReader::paragraphText()
{
    QXmlStreamReader &xml = m_content->xml();
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (!m_content->cellTextFits(text.size()))
            break;
        if (token == QXmlStreamReader::Characters || token == QXmlStreamReader::EntityReference) {
            text += xml.text();
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token != QXmlStreamReader::StartElement) {
            continue;
        } else if (xml.name() == QLatin1String("s")) {
            const int count = readRepeat(m_content->attribute(QLatin1String("c")));
            text += QString(std::min(count, MaxColumns), QLatin1Char(' '));
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("tab")) {
            text += QLatin1Char('\t');
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("line-break")) {
            text += QLatin1Char('\n');
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("note")
                   || xml.name() == QLatin1String("annotation")) {
            xml.skipCurrentElement();
        } else {
            ++depth; // spans, links: their text counts
        }
    }
    return text;
}

// The value into every column the cell stands for that is wanted.
void OdsReader::place(SheetRow &row, int column, int repeat, const QString &value, bool everyColumn)
{
    if (everyColumn) {
        const int end = int(std::min<qint64>(qint64(column) + repeat, MaxColumns));
        if (row.cells.size() < end)
            row.cells.resize(end);
        std::fill(row.cells.begin() + column, row.cells.begin() + end, value);
        return;
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        const int wanted = m_columns.at(i);
        if (wanted >= column && wanted - column < repeat)
            row.cells[i] = value;
    }
}
