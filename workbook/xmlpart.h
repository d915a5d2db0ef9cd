#ifndef VELMIRA_XMLPART_H
#define VELMIRA_XMLPART_H

#include "zipentrydevice.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <memory>

// One XML part of a workbook's archive, read token by token as it inflates,
// with the part's name at hand for every error it may give.
class XmlPart {
public:
    XmlPart(const QString &name, std::unique_ptr<ZipEntryDevice> entry);
    XmlPart(const QString &name, const QByteArray &data); // a small part read whole
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

    // Reads what is left of the part, so that its checksum is known; false
    // when the part failed, now or earlier.
    bool finish();

    // The part's error, if any, in Russian and naming the part: the archive's
    // (damaged, too large, reading cancelled) or the parser's, with the line.
    QString error() const;
    bool failed() const;

private:
    bool walkElement(QString *text);
    void refuseDocumentType();

    QString m_name;
    std::unique_ptr<QIODevice> m_device;
    const ZipEntryDevice *m_entry = nullptr; // m_device, when it is one
    QXmlStreamReader m_xml;
};

#endif // VELMIRA_XMLPART_H
