#include "ziparchive.h"

#include "workbookreader.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>

// minizip's file functions over bytes in memory: the archive is never a file.
struct ZipMemorySource {
    const QByteArray *bytes = nullptr;
    qint64 position = 0;
};

namespace {

using MemorySource = ZipMemorySource;

voidpf ZCALLBACK openMemory(voidpf opaque, const void *, int mode)
{
    // Only reading: a request to write is refused.
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto *source = static_cast<MemorySource *>(opaque);
    source->position = 0;
    return source;
}

uLong ZCALLBACK readMemory(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *source = static_cast<MemorySource *>(stream);
    const qint64 left = std::max<qint64>(0, source->bytes->size() - source->position);
    const qint64 count = std::min<qint64>(left, qint64(size));
    if (count > 0)
        std::memcpy(buffer, source->bytes->constData() + source->position, size_t(count));
    source->position += count;
    return uLong(count);
}

uLong ZCALLBACK writeMemory(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK tellMemory(voidpf, voidpf stream)
{
    return ZPOS64_T(static_cast<MemorySource *>(stream)->position);
}

long ZCALLBACK seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto *source = static_cast<MemorySource *>(stream);
    const qint64 size = source->bytes->size();
    qint64 base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = source->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    if (offset > ZPOS64_T(size) || base + qint64(offset) > size)
        return -1;
    source->position = base + qint64(offset);
    return 0;
}

int ZCALLBACK closeMemory(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK errorMemory(voidpf, voidpf)
{
    return 0;
}

zlib_filefunc64_def memoryFunctions(MemorySource *source)
{
    zlib_filefunc64_def functions;
    functions.zopen64_file = openMemory;
    functions.zread_file = readMemory;
    functions.zwrite_file = writeMemory;
    functions.ztell64_file = tellMemory;
    functions.zseek64_file = seekMemory;
    functions.zclose_file = closeMemory;
    functions.zerror_file = errorMemory;
    functions.opaque = source;
    return functions;
}

// "1024 МБ", or for the small limits of tests "0.293 КБ".
QString size(qint64 bytes)
{
    const bool large = bytes >= 1024 * 1024;
    const double units = double(bytes) / (large ? 1024.0 * 1024.0 : 1024.0);
    return QString::number(units, 'g', 4)
        + (large ? WorkbookReader::tr(" МБ") : WorkbookReader::tr(" КБ"));
}

} // namespace

ZipArchive::ZipArchive(const QByteArray &bytes) : m_bytes(bytes), m_source(new ZipMemorySource)
{
    m_source->bytes = &m_bytes;
    zlib_filefunc64_def functions = memoryFunctions(m_source.get());
    m_zip = unzOpen2_64("", &functions);
    if (!m_zip) {
        m_error = WorkbookReader::tr("архив ZIP повреждён: его оглавление не читается");
        return;
    }
    if (!readDirectory()) {
        unzClose(m_zip);
        m_zip = nullptr;
    }
}

ZipArchive::~ZipArchive()
{
    if (m_zip)
        unzClose(m_zip);
}

// Every entry's position, by name, so that a part is found without a scan.
bool ZipArchive::readDirectory()
{
    int status = unzGoToFirstFile(m_zip);
    while (status == UNZ_OK) {
        // minizip leaves a name that fills its buffer unterminated: the buffer
        // is sized to the name the entry declares, and read with its length.
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        QByteArray name(int(info.size_filename), '\0');
        if (unzGetCurrentFileInfo64(m_zip, &info, name.data(), uLong(name.size()), nullptr, 0,
                                    nullptr, 0)
            != UNZ_OK)
            break;
        unz64_file_pos position;
        unzGetFilePos64(m_zip, &position);
        // With its length: a NUL inside must not make it another part's name.
        const QString key = QString::fromUtf8(name.constData(), name.size()).toLower();
        if (!m_entries.contains(key))
            m_entries.insert(key, {position.pos_in_zip_directory, position.num_of_file});
        status = unzGoToNextFile(m_zip);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        m_error = WorkbookReader::tr("архив ZIP повреждён: его оглавление обрывается");
        return false;
    }
    return true;
}

bool ZipArchive::contains(const QString &name) const
{
    return m_entries.contains(name.toLower());
}

QByteArray ZipArchive::read(const QString &name, qint64 limit, QString *error)
{
    QByteArray data;
    const auto entry = m_entries.constFind(name.toLower());
    if (!m_zip || entry == m_entries.constEnd()) {
        *error = WorkbookReader::tr("часть %1: её нет в архиве").arg(name);
        return data;
    }
    unz64_file_pos position = {entry->directoryOffset, entry->entryNumber};
    if (unzGoToFilePos64(m_zip, &position) != UNZ_OK || unzOpenCurrentFile(m_zip) != UNZ_OK) {
        *error = WorkbookReader::tr("часть %1: архив повреждён, её не открыть").arg(name);
        return data;
    }
    const bool inflated = inflateCurrent(name, limit, data, error);
    const int closed = unzCloseCurrentFile(m_zip);
    if (inflated && closed == UNZ_CRCERROR)
        *error = WorkbookReader::tr("часть %1: архив повреждён, контрольная сумма не сходится")
                     .arg(name);
    if (!inflated || closed == UNZ_CRCERROR)
        return QByteArray();
    return data;
}

// The limit counts the bytes inflated, not the size the entry declares,
// which a damaged or hostile archive may understate.
bool ZipArchive::inflateCurrent(const QString &name, qint64 limit, QByteArray &data, QString *error)
{
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK)
        data.reserve(int(
            std::min<quint64>(info.uncompressed_size, quint64(std::min<qint64>(limit, 64 << 20)))));
    char buffer[64 * 1024];
    for (;;) {
        const int count = unzReadCurrentFile(m_zip, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count < 0) {
            *error
                = WorkbookReader::tr("часть %1: архив повреждён, она не распаковывается").arg(name);
            return false;
        }
        if (qint64(data.size()) + count > limit) {
            *error = WorkbookReader::tr("часть %1 распаковывается больше чем в %2: архив "
                                        "повреждён или это ZIP-бомба")
                         .arg(name, size(limit));
            return false;
        }
        data.append(buffer, count);
    }
}
