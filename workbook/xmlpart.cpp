#include "xmlpart.h"

#include "workbookreader.h"

#include <QBuffer>

namespace {

// More than any prolog a spreadsheet writes (a declaration and a line break).
constexpr int PrologLimit = 64 * 1024;

} // namespace

XmlPart::XmlPart(const QString &name, std::unique_ptr<ZipEntryDevice> entry)
    : m_name(name), m_entry(entry.get())
{
    m_device = std::move(entry);
    m_xml.setDevice(m_device.get());
    refuseDocumentType();
}

XmlPart::XmlPart(const QString &name, const QByteArray &data) : m_name(name)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    m_device = std::move(buffer);
    m_xml.setDevice(m_device.get());
    refuseDocumentType();
}

// Excel and LibreOffice never write a document type; in a workbook it can
// only serve entities that expand a few bytes into gigabytes. The prolog is
// read ahead by a reader of its own, up to the first element.
void XmlPart::refuseDocumentType()
{
    const QByteArray start = m_device->peek(PrologLimit);
    QXmlStreamReader prolog(start);
    while (!prolog.atEnd()) {
        const QXmlStreamReader::TokenType token = prolog.readNext();
        if (token == QXmlStreamReader::DTD) {
            m_xml.raiseError(WorkbookReader::tr(
                "объявление типа документа (<!DOCTYPE>), которого в книгах не бывает"));
            return;
        }
        if (token == QXmlStreamReader::StartElement)
            return;
    }
    if (prolog.error() == QXmlStreamReader::PrematureEndOfDocumentError
        && start.size() == PrologLimit)
        m_xml.raiseError(WorkbookReader::tr("до первого элемента больше %1 КБ, чего в книгах "
                                            "не бывает")
                             .arg(PrologLimit / 1024));
}

bool XmlPart::finish()
{
    while (!m_xml.atEnd())
        m_xml.readNext();
    return !failed();
}

bool XmlPart::failed() const
{
    return m_xml.hasError() || (m_entry && !m_entry->failure().isEmpty());
}

bool XmlPart::cellTextFits(qsizetype length)
{
    if (length <= WorkbookReader::MaxCellText)
        return true;
    m_xml.raiseError(WorkbookReader::tr("в ячейке больше %1 знаков — столько не бывает ни в "
                                        "одной книге")
                         .arg(WorkbookReader::MaxCellText));
    return false;
}

bool XmlPart::findStart(QLatin1String localName)
{
    while (!m_xml.atEnd()) {
        if (m_xml.readNext() == QXmlStreamReader::StartElement && m_xml.name() == localName)
            return true;
    }
    return false;
}

QStringView XmlPart::attribute(QLatin1String localName) const
{
    // A copy shares the reader's attributes, whose texts stay valid until the
    // next token; keeping it would make the reader copy them at the next element.
    const QXmlStreamAttributes attributes = m_xml.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == localName)
            return QStringView(attribute.value());
    }
    return QStringView();
}

QString XmlPart::elementText()
{
    QString text;
    appendElementText(text);
    return text;
}

void XmlPart::appendElementText(QString &text)
{
    walkElement(&text);
}

bool XmlPart::skipHasText()
{
    return walkElement(nullptr);
}

// To the current element's end; its text goes to *text when one is given, so
// that a cell nobody asked for is stepped over without a copy.
bool XmlPart::walkElement(QString *text)
{
    bool hasText = false;
    int depth = 1;
    while (depth > 0 && !m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            hasText = hasText || !m_xml.text().isEmpty();
            if (text && !cellTextFits(text->size() + m_xml.text().size()))
                return hasText;
            if (text)
                *text += m_xml.text();
            break;
        default:
            break;
        }
    }
    return hasText;
}

QString XmlPart::error() const
{
    // The archive's failure comes first: the parser sees it only as an end.
    if (m_entry && !m_entry->failure().isEmpty())
        return m_entry->failure();
    if (!m_xml.hasError())
        return QString();
    if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return WorkbookReader::tr("часть %1: XML обрывается в строке %2")
            .arg(m_name)
            .arg(m_xml.lineNumber());
    return WorkbookReader::tr("часть %1: ошибка XML в строке %2: %3")
        .arg(m_name)
        .arg(m_xml.lineNumber())
        .arg(m_xml.errorString());
}
