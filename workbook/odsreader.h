#ifndef VELMIRA_ODSREADER_H
#define VELMIRA_ODSREADER_H

#include "workbookreader.h"
#include "ziparchive.h"

#include <memory>

class XmlPart;

// An OpenDocument spreadsheet (.ods): the tables of content.xml in order.
// Repeated rows and cells are expanded only where they hold something, so
// the million empty rows a sheet may end with cost nothing.
class OdsReader : public WorkbookReader {
public:
    OdsReader(std::unique_ptr<ZipArchive> archive, qint64 partLimit);
    ~OdsReader() override;

    // Reads content.xml; false with error() set when it cannot be read.
    bool open();

    QString formatName() const override;
    bool nextSheet() override;
    QString sheetName() const override { return m_sheetName; }
    bool readRow(SheetRow &row, const QVector<int> &columns = {}) override;
    QString error() const override { return m_error; }

private:
    // What a cell's start tag says about its value.
    struct CellStart {
        int repeat = 1;
        bool wanted = false;
        QString valueType;
        QString value; // the value attribute that goes with the type
    };

    bool fail(const QString &error);
    void finishSheet();
    void mapColumns(const QVector<int> &columns);
    bool readRowElement(SheetRow &row, bool everyColumn);
    bool readCell(SheetRow &row, int column, bool everyColumn, int &repeat);
    CellStart readCellStart(int column, bool everyColumn);
    bool isWanted(int column, int repeat) const;
    QString cellValue(const CellStart &cell);
    QString paragraphs();
    QString paragraphText();
    void place(SheetRow &row, int column, int repeat, const QString &value, bool everyColumn);

    std::unique_ptr<ZipArchive> m_archive;
    qint64 m_partLimit;
    QString m_error;
    std::unique_ptr<XmlPart> m_content;
    QString m_sheetName;
    bool m_inSheet = false;
    bool m_pastEnd = false; // a row holding anything lies past the sheet's last
    int m_depth = 0; // the row groups open in the current table
    qint64 m_lastRow = 0;
    SheetRow m_repeated; // a row with content that repeats, and how often still
    qint64 m_repeatsLeft = 0;
    QVector<int> m_columns;
};

#endif // VELMIRA_ODSREADER_H
