#include "logreadworker.h"

#include "caselogreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

LogReadWorker::LogReadWorker(QObject *parent) : QObject(parent) { }

void LogReadWorker::read(const QString &path, const QString &installedFolder)
{
    LogReadResult result;
    result.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString shown = QDir::toNativeSeparators(path);
        result.fileError = QFileInfo(path).isFile()
            ? tr("журнал %1 не удаётся прочитать: нет прав на чтение.").arg(shown)
            : tr("журнала %1 нет: такого файла не найдено.").arg(shown);
        emit finished(result);
        return;
    }
    const std::optional<QByteArray> bytes = CaseLogReader::readWhole(file, &result.fileError);
    if (!bytes) {
        emit finished(result);
        return;
    }
    result.evidence = gatherLogEvidence(*bytes, [this](int rowsRead) {
        emit progressed(rowsRead);
        return !m_cancelled;
    });
    result.check = LogCheck(installedFolder, result.evidence);
    emit finished(result);
}
