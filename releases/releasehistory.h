#ifndef VELMIRA_RELEASEHISTORY_H
#define VELMIRA_RELEASEHISTORY_H

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One install (or restore) of tables into the calculator's folder.
struct Release {
    int number = 0;
    QDateTime time;
    QString action; // "установка", or "возврат к выпуску N"
    QString user; // the operating system's
    QString approvedBy; // the responsible clinician, as the keeper gives the name
    QString reason; // why, where the keeper gave one
    int replaces = 0; // the release in force before; 0 for none
    // Of each table in the folder after it: its SHA-256 in hexadecimal, and
    // the first of its comment lines, which names the log, period and cases.
    QMap<QString, QByteArray> sha256;
    QMap<QString, QString> source;
};

// The folder's history of releases, in one human-readable file that every
// install appends to, written with the tables as one set, so that the two
// never disagree. Its words are fixed, whatever the interface's language:
// another program, or the next version, reads them.
class ReleaseHistory {
    Q_DECLARE_TR_FUNCTIONS(ReleaseHistory)

public:
    static const QString FileName; // "Velmira_releases.txt"

    // The history of the folder; empty when it has none. A file that cannot
    // be read or parsed gives *error (in Russian) and no history.
    static ReleaseHistory read(const QString &folder, QString *error);

    const QVector<Release> &releases() const { return m_releases; }
    const Release *current() const;
    const Release *find(int number) const;
    // The next release, numbered on from the current one, for the tables the
    // folder holds after it (by name, their bytes); an install by default.
    Release next(const QMap<QString, QByteArray> &tables) const;
    // The file with the release appended.
    QByteArray appended(const Release &release) const;
    // "выпуск 3 от 10.12.2026 (установка; утвердил Иванов И. И.)"
    static QString describe(const Release &release);

private:
    static QByteArray entry(const Release &release);
    bool parse(const QString &text);

    QVector<Release> m_releases;
    QByteArray m_bytes;
};

#endif // VELMIRA_RELEASEHISTORY_H
