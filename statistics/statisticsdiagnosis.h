#ifndef VELMIRA_STATISTICSDIAGNOSIS_H
#define VELMIRA_STATISTICSDIAGNOSIS_H

#include <QString>
#include <QStringList>

// What loading one statistics file found. The program reads a file the same
// way whatever this says; it only explains to the user why a table is empty
// or gives no figure, and where the file was looked for.
// Real tables hold 17 rows and a few comments, a few kilobytes; a file a
// thousand times that is no table a clinic wrote.
constexpr qint64 MaxStatisticsFileBytes = 1024 * 1024;

struct StatisticsDiagnosis {
    enum class Status { NotFound, NotReadable, NoDataRows, Loaded };

    Status status = Status::NotFound;
    QString fileName; // the bare name: "Statistics_1.txt"
    QString folder; // the absolute folder it was looked for in, in native notation
    bool isDirectory = false; // NotReadable because a folder bears the file's name
    // NotReadable, and never opened: a pipe, a device or a socket under the
    // file's name would stop start-up, a runaway file would fill the memory.
    bool notRegularFile = false;
    bool tooLarge = false; // over MaxStatisticsFileBytes
    int rows = 0;
    int unusableRows = 0;
    int firstUnusableLine = 0; // in the file, the header being line 1
    int firstUnusableRow = -1; // in the table
    // Semicolons and no usable row: a spreadsheet saved as text on a Russian
    // system, "1,44;29", which reads as the row "1" / "44;29".
    bool spreadsheetExport = false;
    // The header's bytes are not UTF-8, so its letters may show garbled.
    bool headerNotUtf8 = false;
    QStringList comments;

    // The counts behind the rows of a file that velmira-stats wrote (rowcounts.h).
    bool hasEvidenceColumns = false; // the header announces them
    bool hasOtherColumns = false; // further columns that are not those counts
    int countedRows = 0; // rows whose counts agree with their figure (rowEvidence)
    int malformedEvidenceRows = 0; // rows whose counts do not: none are shown for them
    int firstMalformedEvidenceRow = -1; // its index in the table
    int evidenceCases = 0; // the cases of all rows with counts

    // The first comment line that says anything, shortened; empty when there is none.
    QString firstComment() const;
    // A comment line as a tool tip shows it: a runaway line would fill the screen.
    static QString shortened(const QString &comment);
};

#endif // VELMIRA_STATISTICSDIAGNOSIS_H
