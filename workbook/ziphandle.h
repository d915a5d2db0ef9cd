#ifndef VELMIRA_ZIPHANDLE_H
#define VELMIRA_ZIPHANDLE_H

#include <QByteArray>

// minizip's handle (an unzFile) on an archive held in memory: the archive is
// never a file. Each handle keeps its own read position, so that an entry
// being read by one is not disturbed by a look-up through another.
class ZipHandle {
public:
    // The bytes are shared, not copied; unzFile() is null when the archive's
    // end record cannot be read.
    explicit ZipHandle(const QByteArray &bytes);
    ~ZipHandle();
    ZipHandle(const ZipHandle &) = delete;
    ZipHandle &operator=(const ZipHandle &) = delete;

    void *unzFile() const { return m_zip; }

    // For minizip's file functions.
    const QByteArray &bytes() const { return m_bytes; }
    qint64 position = 0;

private:
    QByteArray m_bytes;
    void *m_zip = nullptr;
};

#endif // VELMIRA_ZIPHANDLE_H
