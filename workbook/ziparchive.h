#ifndef VELMIRA_ZIPARCHIVE_H
#define VELMIRA_ZIPARCHIVE_H

#include "zipentrydevice.h"
#include "ziphandle.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

// A ZIP archive held in memory, read through minizip. The caller reads the
// file once into bytes, so a workbook another program holds open still reads.
// Entries are looked up case-insensitively, as the package formats name parts.
class ZipArchive {
public:
    // The bytes are shared, not copied. All entries together may inflate to
    // budget bytes; goOn, when given, is asked now and then while they do.
    explicit ZipArchive(const QByteArray &bytes, qint64 budget = qint64(1) << 30,
                        std::function<bool()> goOn = {});
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // False, with error() set, when the archive's directory cannot be read.
    bool isOpen() const { return m_zip != nullptr; }
    bool contains(const QString &name) const;

    // The entry, inflated as it is read (see ZipEntryDevice); null, with
    // *error set, when it is not there or cannot be opened.
    std::unique_ptr<ZipEntryDevice> open(const QString &name, qint64 limit, QString *error);
    // The entry inflated whole. Stops, with *error set, as soon as the inflated bytes
    // pass limit, whatever size the entry declares: a damaged or hostile
    // archive must not fill the memory. Also fails on a bad checksum.
    QByteArray read(const QString &name, qint64 limit, QString *error);

    QString error() const { return m_error; }

private:
    struct Position {
        quint64 directoryOffset = 0;
        quint64 entryNumber = 0;
    };

    bool readDirectory();

    QByteArray m_bytes;
    ZipHandle m_handle; // for the directory; each entry read has its own
    void *m_zip = nullptr; // minizip's unzFile, null when the directory is unread
    std::shared_ptr<ZipBudget> m_budget;
    QHash<QString, Position> m_entries; // by lower-case name
    QString m_error;
};

#endif // VELMIRA_ZIPARCHIVE_H
