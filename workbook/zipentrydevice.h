#ifndef VELMIRA_ZIPENTRYDEVICE_H
#define VELMIRA_ZIPENTRYDEVICE_H

#include "ziphandle.h"

#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>

// What all the entries of one archive may still inflate to, and whether its
// reader still wants them: shared by the archive and every entry it opens, so
// that sixty sheets naming one large part cost what one part may cost.
struct ZipBudget {
    qint64 total = 0;
    qint64 left = 0;
    std::function<bool()> goOn; // asked every MiB inflated; empty for always
};

// One entry of an archive, inflated as it is read: a sheet is parsed in
// passing, never held whole. It stops with failure() set when the entry is
// damaged, inflates past its limit or the archive's budget, or the reader no
// longer wants it; the checksum is known only at the entry's end.
class ZipEntryDevice : public QIODevice {
public:
    ZipEntryDevice(const QByteArray &archive, quint64 directoryOffset, quint64 entryNumber,
                   const QString &name, qint64 limit, std::shared_ptr<ZipBudget> budget);
    ~ZipEntryDevice() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    // Empty while all is well; in Russian, naming the entry.
    QString failure() const { return m_failure; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    bool openEntry(quint64 directoryOffset, quint64 entryNumber);
    qint64 fail(const QString &failure);
    qint64 closeEntry();
    bool spend(qint64 count);

    ZipHandle m_handle;
    QString m_name;
    qint64 m_limit;
    std::shared_ptr<ZipBudget> m_budget;
    qint64 m_inflated = 0;
    qint64 m_sinceAsked = 0;
    bool m_entryOpen = false;
    bool m_ended = false;
    QString m_failure;
};

#endif // VELMIRA_ZIPENTRYDEVICE_H
