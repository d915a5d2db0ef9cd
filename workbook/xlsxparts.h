#ifndef VELMIRA_XLSXPARTS_H
#define VELMIRA_XLSXPARTS_H

#include "xmlpart.h"

#include <QHash>
#include <QString>
#include <QVector>

// The parts of an Office Open XML workbook around its sheets: the workbook's
// list of sheets, the relationships that name their parts, the shared strings
// and the cell styles that make a number a date.
class XlsxParts {
public:
    struct Relationship {
        QString type; // the last segment of the type's URI: "worksheet", "sharedStrings"
        QString part; // the target as a part name, "xl/worksheets/sheet1.xml"
    };
    struct Sheet {
        QString name;
        QString relationshipId;
    };

    // "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
    static QString relationshipsPartOf(const QString &part);
    // A relationship's target, relative to the folder of the part it is of, as a part name.
    static QString resolveTarget(const QString &sourcePart, QStringView target);

    // By id; targets outside the package are left out.
    static QHash<QString, Relationship> relationships(XmlPart &part, const QString &sourcePart);
    static QVector<Sheet> sheets(XmlPart &part, bool &date1904);
    static QVector<QString> sharedStrings(XmlPart &part);
    // For each cell style (a cell's s attribute), whether it shows a date.
    static QVector<bool> dateStyles(XmlPart &part);

    // The text of a string item (<si>, <is>): plain or rich runs, phonetic
    // guides left out. The current element is consumed.
    static QString stringItem(XmlPart &part);

private:
    static QHash<int, bool> customDateFormats(XmlPart &part);
};

#endif // VELMIRA_XLSXPARTS_H
