#ifndef VELMIRA_STATSOPTIONS_H
#define VELMIRA_STATSOPTIONS_H

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

// What the command line of velmira-stats asks for.
struct StatsRequest {
    enum class Action { Run, Install, Restore, Help, Version, Error };

    Action action = Action::Run;
    QString log; // the case log's path
    QString outputFolder; // "." unless --output DIR
    bool replace = false;
    bool skipBadRows = false;
    QString error; // for Action::Error: the reason, in Russian
    // --check: the tables in tablesFolder are checked against the log, and
    // nothing is built; the figures go to jsonFile too unless it is empty.
    bool check = false;
    QString tablesFolder;
    QString jsonFile;
    // With --check: a second folder of tables checked on the same cases.
    QString compareFolder;
    // With --check: the first day of the cases checked (null: the day after
    // the tables' last case), or every case, the tables' own included.
    QDate checkFrom;
    bool allCases = false;
    // Tables built from the cases before this date and checked on the later
    // ones; null unless asked for.
    QDate holdoutSince;
    // For Action::Install: tables made earlier, from installSource ("." unless
    // given) into installFolder, where the calculator reads them.
    QString installFolder;
    QString installSource;
    // For Action::Restore: the folder (installFolder) and the release to go
    // back to, 0 for the one before the current.
    int restoreRelease = 0;
    // For both: what the release records.
    QString approvedBy;
    QString reason;
};

// The options of velmira-stats: English names, Russian descriptions, since
// the clinic's staff read the help and the messages.
class StatsOptions {
    Q_DECLARE_TR_FUNCTIONS(StatsOptions)

public:
    // arguments as QCoreApplication::arguments() gives them, the program first.
    static StatsRequest parse(const QStringList &arguments);
    static QString helpText();
    // "velmira-stats 1.0.0 (Qt 5.15.8)"
    static QString versionText();
};

#endif // VELMIRA_STATSOPTIONS_H
