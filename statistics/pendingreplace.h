#ifndef VELMIRA_PENDINGREPLACE_H
#define VELMIRA_PENDINGREPLACE_H

#include <QString>
#include <QStringList>
#include <QVector>

// A folder's files are replaced as one set: the new files are staged in
// FOLDER/.velmira-stats.new/, and once all are there a journal naming them
// is committed. From that moment the new set is the folder's, even before
// every file is renamed into place, and a run interrupted then is completed
// by the next writer. Readers and the writer share these names here.
struct PendingEntry {
    QString name; // the file's bare name in the folder
    QString kept; // the name its previous file keeps; empty when there was none
};

QString pendingFolder(const QString &folder);
QString pendingJournal(const QString &folder);
// The journal's entries; empty when there is no complete journal.
QVector<PendingEntry> pendingEntries(const QString &folder);
QByteArray pendingJournalBytes(const QVector<PendingEntry> &entries);

// The file that holds what path should be: the staged one while a committed
// journal names it and it is not yet in place, otherwise path itself.
QString currentFilePath(const QString &path);

#endif // VELMIRA_PENDINGREPLACE_H
