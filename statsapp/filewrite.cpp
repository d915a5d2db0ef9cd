#include "filewrite.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>

QString FileWrite::reason(int error, const QString &fallback)
{
    switch (error) {
    case ENOSPC:
        return tr("на диске нет места");
#ifdef EDQUOT
    case EDQUOT:
        return tr("исчерпана дисковая квота");
#endif
    case EACCES:
    case EPERM:
        return tr("нет прав на запись");
    case ENOENT:
        return tr("такой папки нет");
    case EROFS:
        return tr("диск доступен только для чтения");
    case EIO:
        return tr("ошибка чтения или записи диска");
    case EFBIG:
        return tr("файл слишком велик для этого диска");
    default:
        return fallback.isEmpty() ? tr("ошибка системы %1").arg(error) : fallback;
    }
}

QString FileWrite::whole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // errno is cleared before each step and read right after it, so that a
    // number left by an earlier call is not taken for this one's.
    errno = 0;
    bool written = file.open(QIODevice::WriteOnly);
    int error = written ? 0 : errno;
    if (written) {
        errno = 0;
        written = file.write(bytes) == bytes.size() && file.flush();
        error = errno;
    }
    // The size on disk, not the count the buffer accepted.
    if (written && file.size() != bytes.size()) {
        written = false;
        error = ENOSPC;
    }
    if (written) {
        errno = 0;
        if (file.commit())
            return {};
        error = errno;
    }
    const QString qtReason = file.errorString();
    file.cancelWriting();
    // Where the system gave no number (Windows), a missing folder and a disk
    // without room for the bytes are still named as such.
    const QString folder = QFileInfo(path).absolutePath();
    if (error != ENOENT && !QFileInfo(folder).isDir())
        error = ENOENT;
    const QStorageInfo disk(folder);
    if (error != ENOSPC && error != ENOENT && disk.isValid()
        && disk.bytesAvailable() < bytes.size())
        error = ENOSPC;
    return reason(error, qtReason);
}
