#include "xlsxreader.h"

#include "celltext.h"
#include "xmlpart.h"

#include <algorithm>

namespace {

// The sheet's size limits: rows and columns beyond them are no cells.
constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;

// The column of a reference "AB12" (0 being A) and its row; -1 for a part not there.
void readReference(QStringView reference, int &column, int &row)
{
    int i = 0;
    int letters = 0;
    for (; i < reference.size() && letters <= MaxColumns; ++i) {
        const char16_t c = reference.at(i).unicode();
        if (c < u'A' || c > u'Z')
            break;
        letters = letters * 26 + (c - u'A' + 1);
    }
    column = i > 0 ? letters - 1 : -1;
    row = 0;
    for (; i < reference.size() && row <= MaxRows; ++i) {
        const char16_t c = reference.at(i).unicode();
        if (c < u'0' || c > u'9')
            return;
        row = row * 10 + (c - u'0');
    }
    if (row == 0)
        row = -1;
}

// A row number or an index; fallback when the text is none.
int readNumber(QStringView text, int fallback)
{
    if (text.isEmpty() || text.size() > 9)
        return fallback;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return fallback;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

int readIndex(QStringView text)
{
    return readNumber(text, -1);
}

// The cell types of the t attribute, as one character: n, s, b, d, e, str, inlineStr.
char16_t cellType(QStringView type)
{
    if (type.isEmpty())
        return u'n';
    if (type == QLatin1String("str"))
        return u't';
    return type.at(0).unicode();
}

} // namespace

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive, qint64 partLimit)
    : m_archive(std::move(archive)), m_partLimit(partLimit)
{
}

XlsxReader::~XlsxReader() = default;

bool XlsxReader::fail(const QString &error)
{
    m_error = error;
    m_sheet.reset();
    m_sheetIndex = m_sheets.size();
    return false;
}

std::unique_ptr<XmlPart> XlsxReader::readPart(const QString &name)
{
    QString error;
    std::unique_ptr<ZipEntryDevice> entry = m_archive->open(name, m_partLimit, &error);
    if (!entry) {
        fail(error);
        return nullptr;
    }
    return std::make_unique<XmlPart>(name, std::move(entry));
}

bool XlsxReader::open(const QString &workbookPart)
{
    if (!m_archive->isOpen())
        return fail(m_archive->error());
    const std::unique_ptr<XmlPart> workbook = readPart(workbookPart);
    if (!workbook)
        return false;
    m_sheets = XlsxParts::sheets(*workbook, m_date1904);
    if (!workbook->finish())
        return fail(workbook->error());

    const QString relationshipsPart = XlsxParts::relationshipsPartOf(workbookPart);
    const std::unique_ptr<XmlPart> relationships = readPart(relationshipsPart);
    if (!relationships)
        return false;
    m_relationships = XlsxParts::relationships(*relationships, workbookPart);
    if (!relationships->finish())
        return fail(relationships->error());
    return readRelatedParts(m_relationships);
}

// The shared strings and the styles, which a workbook without text or
// without dates may leave out.
bool XlsxReader::readRelatedParts(const QHash<QString, XlsxParts::Relationship> &relationships)
{
    for (const XlsxParts::Relationship &relationship : relationships) {
        const bool strings = relationship.type == QLatin1String("sharedStrings");
        if (!strings && relationship.type != QLatin1String("styles"))
            continue;
        const std::unique_ptr<XmlPart> part = readPart(relationship.part);
        if (!part)
            return false;
        if (strings)
            m_strings = XlsxParts::sharedStrings(*part);
        else
            m_dateStyles = XlsxParts::dateStyles(*part);
        if (!part->finish())
            return fail(part->error());
    }
    return true;
}

QString XlsxReader::formatName() const
{
    return QStringLiteral("Excel (.xlsx)");
}

bool XlsxReader::nextSheet()
{
    m_sheet.reset();
    if (m_sheetIndex >= m_sheets.size() || ++m_sheetIndex >= m_sheets.size())
        return false;
    m_lastRow = 0;
    const XlsxParts::Sheet &sheet = m_sheets.at(m_sheetIndex);
    const auto relationship = m_relationships.constFind(sheet.relationshipId);
    if (relationship == m_relationships.constEnd())
        return fail(
            WorkbookReader::tr("лист «%1»: в книге нет ссылки на его часть").arg(sheet.name));
    // Chart sheets and the like hold no cells: a sheet without rows.
    if (relationship->type != QLatin1String("worksheet"))
        return true;
    m_sheet = readPart(relationship->part);
    if (!m_sheet)
        return false;
    if (!m_sheet->findStart(QLatin1String("sheetData")) && m_sheet->failed())
        return fail(m_sheet->error());
    return true;
}

QString XlsxReader::sheetName() const
{
    return m_sheetIndex >= 0 && m_sheetIndex < m_sheets.size() ? m_sheets.at(m_sheetIndex).name
                                                               : QString();
}

// For each column its place among those asked for, -1 for the others.
void XlsxReader::mapColumns(const QVector<int> &columns)
{
    if (columns == m_columns)
        return;
    m_columns = columns;
    int highest = -1;
    for (const int column : columns) {
        if (column < MaxColumns)
            highest = std::max(highest, column);
    }
    m_slots.fill(-1, highest + 1);
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i) >= 0 && columns.at(i) < m_slots.size())
            m_slots[columns.at(i)] = i;
    }
}

bool XlsxReader::readRow(SheetRow &row, const QVector<int> &columns)
{
    if (!m_sheet)
        return false;
    mapColumns(columns);
    QXmlStreamReader &xml = m_sheet->xml();
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("sheetData"))
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() != QLatin1String("row")) {
            xml.skipCurrentElement();
            continue;
        }
        // A number past the sheet's end is no row a spreadsheet shows: its
        // cases would be dropped, or renumbered, without a word.
        const QStringView number = m_sheet->attribute(QLatin1String("r"));
        if (!number.isEmpty() && (readNumber(number, 0) < 1 || readNumber(number, 0) > MaxRows))
            return fail(WorkbookReader::tr("лист «%1»: строка с номером %2, а на листе не больше "
                                           "%3 строк: книга повреждена.")
                            .arg(sheetName(), number.left(20).toString())
                            .arg(MaxRows));
        if (readRowElement(row, columns.isEmpty()))
            return true;
    }
    // The rest of the part is read too: its checksum covers the rows read.
    if (!m_sheet->finish())
        return fail(m_sheet->error());
    m_sheet.reset();
    return false;
}

// One <row>: true when a cell in it holds anything.
bool XlsxReader::readRowElement(SheetRow &row, bool everyColumn)
{
    m_lastRow = readNumber(m_sheet->attribute(QLatin1String("r")), m_lastRow + 1);
    row.number = m_lastRow;
    // The row's vector is reused: no allocation per row.
    row.cells.fill(QString(), everyColumn ? 0 : m_columns.size());
    QXmlStreamReader &xml = m_sheet->xml();
    bool holdsAnything = false;
    int column = -1;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() != QLatin1String("c")) {
            xml.skipCurrentElement();
            continue;
        }
        holdsAnything = readCell(row, column, everyColumn) || holdsAnything;
    }
    if (everyColumn) {
        while (!row.cells.isEmpty() && row.cells.constLast().isEmpty())
            row.cells.removeLast();
    }
    return holdsAnything && row.number <= MaxRows;
}

// One <c>: its value, into the row when its column is wanted; true when it holds anything.
bool XlsxReader::readCell(SheetRow &row, int &column, bool everyColumn)
{
    QXmlStreamReader &xml = m_sheet->xml();
    char16_t type = u'n';
    int style = -1;
    const int previous = column;
    column = -1;
    // One pass over the attributes: the reference, the type and the style.
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        const QStringView name = attribute.name();
        if (name == QLatin1String("r")) {
            int cellRow = 0;
            readReference(attribute.value(), column, cellRow);
        } else if (name == QLatin1String("t")) {
            type = cellType(attribute.value());
        } else if (name == QLatin1String("s")) {
            style = readIndex(attribute.value());
        }
    }
    if (column < 0)
        column = previous + 1;
    const int slot = everyColumn ? column : column < m_slots.size() ? m_slots.at(column) : -1;
    const bool wanted = slot >= 0 && column < MaxColumns;
    QString stored;
    bool holdsAnything = false;
    bool inlineText = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("v")) {
            if (type == u's') {
                // An index into the shared strings: read into a buffer kept for it.
                m_index.resize(0);
                m_sheet->appendElementText(m_index);
                stored = sharedString(m_index);
                holdsAnything = !stored.isEmpty();
            } else if (wanted) {
                stored = m_sheet->elementText();
                holdsAnything = !stored.isEmpty();
            } else {
                holdsAnything = m_sheet->skipHasText();
            }
        } else if (xml.name() == QLatin1String("is")) {
            stored = XlsxParts::stringItem(*m_sheet);
            holdsAnything = !stored.isEmpty();
            inlineText = true;
        } else {
            xml.skipCurrentElement(); // a formula: its cached value is in <v>
        }
    }
    if (!holdsAnything || !wanted)
        return holdsAnything;
    if (row.cells.size() <= slot)
        row.cells.resize(slot + 1);
    row.cells[slot] = inlineText || type == u's' ? stored : cellValue(type, style, stored);
    return !row.cells.at(slot).isEmpty();
}

QString XlsxReader::sharedString(QStringView index) const
{
    const int i = readIndex(index);
    return i >= 0 && i < m_strings.size() ? m_strings.at(i) : QString();
}

QString XlsxReader::cellValue(char16_t type, int style, const QString &stored) const
{
    if (type == u'n') {
        const bool date = style >= 0 && style < m_dateStyles.size() && m_dateStyles.at(style);
        return date ? CellText::serialDate(stored, m_date1904) : CellText::number(stored);
    }
    if (type == u'b') {
        if (stored == QLatin1String("1") || stored == QLatin1String("true"))
            return CellText::logical(true);
        if (stored == QLatin1String("0") || stored == QLatin1String("false"))
            return CellText::logical(false);
        return stored;
    }
    if (type == u'd')
        return CellText::isoDay(stored);
    return stored; // str (a formula's text), e (an error), inlineStr without <is>
}
