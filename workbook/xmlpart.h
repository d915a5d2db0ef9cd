#ifndef VELMIRA_XMLPART_H
#define VELMIRA_XMLPART_H

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

// One XML part of a workbook's archive, read token by token, with the part's
// name at hand for every error it may give.
class XmlPart {
public:
    XmlPart(const QString &name, const QByteArray &data);
    XmlPart(const XmlPart &) = delete;
    XmlPart &operator=(const XmlPart &) = delete;

    QString name() const { return m_name; }
    QXmlStreamReader &xml() { return m_xml; }

    // Moves to the next start element anywhere below; false at the end or on an error.
    bool findStart(QLatin1String localName);
    // The attribute by its local name, whatever its namespace; empty when absent.
    QStringView attribute(QLatin1String localName) const;
    // The current element's text and its children's, the element consumed.
    QString elementText();
    void appendElementText(QString &text);
    // Consumes the current element, saying whether any text is in it.
    bool skipHasText();
    // Whether a cell's text of this length may be kept; when not, the part
    // fails with an error that says so.
    bool cellTextFits(qsizetype length);

    // The parser's error, if any, in Russian and naming the part and the line.
    QString error() const;
    bool failed() const { return m_xml.hasError(); }

private:
    bool walkElement(QString *text);
    void refuseDocumentType();

    QString m_name;
    QByteArray m_data; // shared with the caller's copy, never copied
    QXmlStreamReader m_xml;
};

#endif // VELMIRA_XMLPART_H
