#include "ziphandle.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>

namespace {

using MemorySource = ZipHandle;

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
    const qint64 left = std::max<qint64>(0, source->bytes().size() - source->position);
    const qint64 count = std::min<qint64>(left, qint64(size));
    if (count > 0)
        std::memcpy(buffer, source->bytes().constData() + source->position, size_t(count));
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
    const qint64 size = source->bytes().size();
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

} // namespace

ZipHandle::ZipHandle(const QByteArray &bytes) : m_bytes(bytes)
{
    zlib_filefunc64_def functions = memoryFunctions(this);
    m_zip = unzOpen2_64("", &functions);
}

ZipHandle::~ZipHandle()
{
    if (m_zip)
        unzClose(m_zip);
}
