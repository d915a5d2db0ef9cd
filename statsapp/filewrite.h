#ifndef VELMIRA_FILEWRITE_H
#define VELMIRA_FILEWRITE_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Every file the statistics tools write goes through here, so that none is
// committed short: QSaveFile reports a failed flush only when asked, and a
// full disk otherwise leaves a file of 0 bytes that was "saved".
class FileWrite {
    Q_DECLARE_TR_FUNCTIONS(FileWrite)

public:
    // Writes bytes to path whole, or leaves path as it was. Returns why it
    // failed, in Russian ("на диске нет места"); empty on success.
    static QString whole(const QString &path, const QByteArray &bytes);
    // The system's error number as the keeper reads it; fallback when the
    // number says nothing (Windows, or none was set).
    static QString reason(int error, const QString &fallback);
};

#endif // VELMIRA_FILEWRITE_H
