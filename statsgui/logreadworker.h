#ifndef VELMIRA_LOGREADWORKER_H
#define VELMIRA_LOGREADWORKER_H

#include "logcheck.h"
#include "logevidence.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <atomic>

// A log read on the worker's thread: where it came from and what it gave.
struct LogReadResult {
    QString path;
    QString fileError; // the file itself could not be read; empty otherwise
    LogEvidence evidence;
    LogCheck check; // the installed and the new tables on the log's cases

    QString error() const { return fileError.isEmpty() ? evidence.reading.error : fileError; }
    bool cancelled() const { return evidence.reading.cancelled; }
};
Q_DECLARE_METATYPE(LogReadResult)

// Reads a log, gathers its evidence and checks tables on its cases on
// whatever thread it lives in, and says how far it got; cancel() may be
// called from any thread.
class LogReadWorker : public QObject {
    Q_OBJECT

public:
    explicit LogReadWorker(QObject *parent = nullptr);

    // Set before a read is asked for, so that a cancel that comes first still counts.
    void setCancelled(bool cancelled) { m_cancelled = cancelled; }

public slots:
    // installedFolder: where the calculator reads its tables; empty when not known.
    void read(const QString &path, const QString &installedFolder = QString());

signals:
    void progressed(int rowsRead);
    void finished(const LogReadResult &result);

private:
    std::atomic<bool> m_cancelled {false};
};

#endif // VELMIRA_LOGREADWORKER_H
