#ifndef VELMIRA_ZIPARCHIVE_H
#define VELMIRA_ZIPARCHIVE_H

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

struct ZipMemorySource;

// A ZIP archive held in memory, read through minizip. The caller reads the
// file once into bytes, so a workbook another program holds open still reads.
// Entries are looked up case-insensitively, as the package formats name parts.
class ZipArchive {
public:
    // The bytes are shared, not copied.
    explicit ZipArchive(const QByteArray &bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // False, with error() set, when the archive's directory cannot be read.
    bool isOpen() const { return m_zip != nullptr; }
    bool contains(const QString &name) const;

    // The entry inflated. Stops, with *error set, as soon as the inflated bytes
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
    bool inflateCurrent(const QString &name, qint64 limit, QByteArray &data, QString *error);

    QByteArray m_bytes;
    std::unique_ptr<ZipMemorySource> m_source; // what minizip reads through
    void *m_zip = nullptr; // minizip's unzFile
    QHash<QString, Position> m_entries; // by lower-case name
    QString m_error;
};

#endif // VELMIRA_ZIPARCHIVE_H
