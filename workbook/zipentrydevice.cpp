#include "zipentrydevice.h"

#include "workbookreader.h"

#include <unzip.h>

#include <algorithm>

namespace {

constexpr qint64 AskEvery = 1 << 20;

// "1024 МБ", or for the small limits of tests "0.293 КБ".
QString sizeText(qint64 bytes)
{
    const bool large = bytes >= 1024 * 1024;
    const double units = double(bytes) / (large ? 1024.0 * 1024.0 : 1024.0);
    return QString::number(units, 'g', 4)
        + (large ? WorkbookReader::tr(" МБ") : WorkbookReader::tr(" КБ"));
}

} // namespace

ZipEntryDevice::ZipEntryDevice(const QByteArray &archive, quint64 directoryOffset,
                               quint64 entryNumber, const QString &name, qint64 limit,
                               std::shared_ptr<ZipBudget> budget)
    : m_handle(archive), m_name(name), m_limit(limit), m_budget(std::move(budget))
{
    if (openEntry(directoryOffset, entryNumber))
        QIODevice::open(QIODevice::ReadOnly);
}

ZipEntryDevice::~ZipEntryDevice()
{
    if (m_entryOpen)
        unzCloseCurrentFile(m_handle.unzFile());
}

bool ZipEntryDevice::openEntry(quint64 directoryOffset, quint64 entryNumber)
{
    unz64_file_pos position = {directoryOffset, entryNumber};
    if (!m_handle.unzFile() || unzGoToFilePos64(m_handle.unzFile(), &position) != UNZ_OK
        || unzOpenCurrentFile(m_handle.unzFile()) != UNZ_OK) {
        fail(WorkbookReader::tr("часть %1: архив повреждён, её не открыть").arg(m_name));
        return false;
    }
    m_entryOpen = true;
    return true;
}

bool ZipEntryDevice::atEnd() const
{
    return (m_ended || !m_failure.isEmpty()) && QIODevice::atEnd();
}

qint64 ZipEntryDevice::fail(const QString &failure)
{
    if (m_failure.isEmpty())
        m_failure = failure;
    return -1;
}

// The limits count the bytes inflated, not the size the entry declares,
// which a damaged or hostile archive may understate.
qint64 ZipEntryDevice::readData(char *data, qint64 maxSize)
{
    if (m_ended || !m_failure.isEmpty())
        return -1;
    if (maxSize <= 0)
        return 0; // minizip would take a read of nothing for the entry's end
    const int count = unzReadCurrentFile(m_handle.unzFile(), data,
                                         unsigned(std::min<qint64>(maxSize, 1 << 20)));
    if (count < 0)
        return fail(
            WorkbookReader::tr("часть %1: архив повреждён, она не распаковывается").arg(m_name));
    if (count == 0)
        return closeEntry();
    return spend(count) ? count : -1;
}

bool ZipEntryDevice::spend(qint64 count)
{
    m_inflated += count;
    m_budget->left -= count;
    m_sinceAsked += count;
    QString failure;
    if (m_inflated > m_limit) {
        failure = WorkbookReader::tr("часть %1 распаковывается больше чем в %2: архив повреждён "
                                     "или это ZIP-бомба")
                      .arg(m_name, sizeText(m_limit));
    } else if (m_budget->left < 0) {
        failure = WorkbookReader::tr("часть %1: вместе с прежними частями книга распаковывается "
                                     "больше чем в %2: архив повреждён или это ZIP-бомба")
                      .arg(m_name, sizeText(m_budget->total));
    } else if (m_sinceAsked >= AskEvery && m_budget->goOn) {
        m_sinceAsked = 0;
        if (!m_budget->goOn())
            failure = WorkbookReader::tr("чтение прервано");
    }
    if (failure.isEmpty())
        return true;
    fail(failure);
    return false;
}

// At the entry's end its checksum decides whether what was read stands.
qint64 ZipEntryDevice::closeEntry()
{
    m_ended = true;
    m_entryOpen = false;
    if (unzCloseCurrentFile(m_handle.unzFile()) == UNZ_CRCERROR)
        return fail(WorkbookReader::tr("часть %1: архив повреждён, контрольная сумма не сходится")
                        .arg(m_name));
    return -1;
}
