#ifndef VELMIRA_XLSXREADER_H
#define VELMIRA_XLSXREADER_H

#include "workbookreader.h"
#include "xlsxparts.h"
#include "ziparchive.h"

#include <memory>

class XmlPart;

// An Office Open XML workbook (.xlsx): its sheets in the workbook's order,
// each sheet's part inflated when the sheet is reached.
class XlsxReader : public WorkbookReader {
public:
    XlsxReader(std::unique_ptr<ZipArchive> archive, qint64 partLimit);
    ~XlsxReader() override;

    // Reads the workbook's list of sheets, shared strings and styles; false
    // with error() set when one of them cannot be read.
    bool open(const QString &workbookPart);

    QString formatName() const override;
    bool nextSheet() override;
    QString sheetName() const override;
    bool readRow(SheetRow &row, const QVector<int> &columns = {}) override;
    QString error() const override { return m_error; }

private:
    std::unique_ptr<XmlPart> readPart(const QString &name);
    bool readRelatedParts(const QHash<QString, XlsxParts::Relationship> &relationships);
    bool fail(const QString &error);
    void mapColumns(const QVector<int> &columns);
    bool readRowElement(SheetRow &row, bool everyColumn);
    bool readCell(SheetRow &row, int &column, bool everyColumn);
    QString sharedString(QStringView index) const;
    QString cellValue(char16_t type, int style, const QString &stored) const;

    std::unique_ptr<ZipArchive> m_archive;
    qint64 m_partLimit;
    QString m_error;
    bool m_date1904 = false;
    QVector<XlsxParts::Sheet> m_sheets;
    QHash<QString, XlsxParts::Relationship> m_relationships;
    QVector<QString> m_strings;
    QVector<bool> m_dateStyles;

    int m_sheetIndex = -1;
    std::unique_ptr<XmlPart> m_sheet; // null for a sheet without rows (a chart)
    int m_lastRow = 0;
    QVector<int> m_columns; // the columns asked for, and for each column its place in them
    QVector<int> m_slots;
    QString m_index; // a shared string's index as read
};

#endif // VELMIRA_XLSXREADER_H
