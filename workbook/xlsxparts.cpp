#include "xlsxparts.h"

#include "numberformat.h"
#include "workbookreader.h"

namespace {

bool isTrue(QStringView value)
{
    return value == QLatin1String("1") || value == QLatin1String("true");
}

int readIndex(QStringView text)
{
    int value = 0;
    if (text.isEmpty() || text.size() > 9)
        return -1;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

QString XlsxParts::relationshipsPartOf(const QString &part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QLatin1String("_rels/") + part.mid(slash + 1)
        + QLatin1String(".rels");
}

QString XlsxParts::resolveTarget(const QString &sourcePart, QStringView target)
{
    QStringList path;
    if (!target.startsWith(QLatin1Char('/')))
        path = sourcePart.split(QLatin1Char('/')).mid(0, sourcePart.count(QLatin1Char('/')));
    for (const QString &segment : target.toString().split(QLatin1Char('/'))) {
        if (segment == QLatin1String("..")) {
            if (!path.isEmpty())
                path.removeLast();
        } else if (!segment.isEmpty() && segment != QLatin1String(".")) {
            path.append(segment);
        }
    }
    return path.join(QLatin1Char('/'));
}

QHash<QString, XlsxParts::Relationship> XlsxParts::relationships(XmlPart &part,
                                                                 const QString &sourcePart)
{
    QHash<QString, Relationship> found;
    while (part.findStart(QLatin1String("Relationship"))) {
        if (part.attribute(QLatin1String("TargetMode")) == QLatin1String("External"))
            continue;
        const QString id = part.attribute(QLatin1String("Id")).toString();
        const QStringView type = part.attribute(QLatin1String("Type"));
        Relationship relationship;
        relationship.type = type.mid(type.lastIndexOf(QLatin1Char('/')) + 1).toString();
        relationship.part = resolveTarget(sourcePart, part.attribute(QLatin1String("Target")));
        found.insert(id, relationship);
    }
    return found;
}

QVector<XlsxParts::Sheet> XlsxParts::sheets(XmlPart &part, bool &date1904)
{
    QVector<Sheet> found;
    date1904 = false;
    QXmlStreamReader &xml = part.xml();
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            date1904 = isTrue(part.attribute(QLatin1String("date1904")));
        } else if (xml.name() == QLatin1String("sheet")) {
            // r:id, in whichever namespace prefix the writer chose.
            found.append({part.attribute(QLatin1String("name")).toString(),
                          part.attribute(QLatin1String("id")).toString()});
        }
    }
    return found;
}

// Kept whole while the sheets are read, so bounded by count and by text.
QVector<QString> XlsxParts::sharedStrings(XmlPart &part)
{
    QVector<QString> strings;
    qint64 text = 0;
    while (part.findStart(QLatin1String("si"))) {
        strings.append(stringItem(part));
        text += strings.constLast().size();
        if (strings.size() > WorkbookReader::MaxSharedStrings
            || text > WorkbookReader::MaxSharedText) {
            part.xml().raiseError(
                WorkbookReader::tr(
                    "в общих строках книги больше %1 млн текстов или %2 млн знаков — "
                    "столько не бывает ни в одном журнале")
                    .arg(WorkbookReader::MaxSharedStrings / 1000000)
                    .arg(WorkbookReader::MaxSharedText / 1000000));
            return {};
        }
    }
    return strings;
}

QString XlsxParts::stringItem(XmlPart &part)
{
    QXmlStreamReader &xml = part.xml();
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token != QXmlStreamReader::StartElement) {
            continue;
        } else if (xml.name() == QLatin1String("t")) {
            part.appendElementText(text); // no copy for the usual single <t>
        } else if (xml.name() == QLatin1String("r")) {
            ++depth; // a rich-text run: its <t> counts
        } else {
            xml.skipCurrentElement(); // phonetic guides and run properties
        }
    }
    return text;
}

QHash<int, bool> XlsxParts::customDateFormats(XmlPart &part)
{
    QHash<int, bool> formats;
    QXmlStreamReader &xml = part.xml();
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("numFmts"))
            break;
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("numFmt"))
            formats.insert(readIndex(part.attribute(QLatin1String("numFmtId"))),
                           NumberFormat::isDateCode(part.attribute(QLatin1String("formatCode"))));
    }
    return formats;
}

QVector<bool> XlsxParts::dateStyles(XmlPart &part)
{
    QVector<bool> styles;
    QHash<int, bool> custom;
    QXmlStreamReader &xml = part.xml();
    bool inCellStyles = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("cellXfs"))
            inCellStyles = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("numFmts")) {
            custom = customDateFormats(part);
        } else if (xml.name() == QLatin1String("cellXfs")) {
            inCellStyles = true;
        } else if (inCellStyles && xml.name() == QLatin1String("xf")) {
            const int id = readIndex(part.attribute(QLatin1String("numFmtId")));
            styles.append(custom.contains(id) ? custom.value(id) : NumberFormat::isBuiltInDate(id));
        }
    }
    return styles;
}
