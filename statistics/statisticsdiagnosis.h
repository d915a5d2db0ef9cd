#ifndef VELMIRA_STATISTICSDIAGNOSIS_H
#define VELMIRA_STATISTICSDIAGNOSIS_H

#include <QString>
#include <QStringList>

class QIODevice;
struct StatisticsFile;

// What loading one statistics file found. The program reads a file the same
// way whatever this says; it only explains to the user why a table is empty
// or gives no figure, and where the file was looked for.
struct StatisticsDiagnosis {
    enum class Status { NotFound, NotReadable, NoDataRows, Loaded };

    Status status = Status::NotFound;
    QString fileName; // the bare name: "Statistics_1.txt"
    QString folder; // the absolute folder it was looked for in, in native notation
    bool isDirectory = false; // NotReadable because a folder bears the file's name
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

    // The first comment line that says anything; empty when there is none.
    QString firstComment() const;
};

// For a file that could not be opened: missing, or there but not readable.
StatisticsDiagnosis diagnoseUnopened(const QString &path);

// For a file that was opened and parsed.
StatisticsDiagnosis diagnoseParsed(const QString &path, const StatisticsFile &file,
                                   bool headerIsUtf8);

// Whether the first line of an opened file, as far as a short look ahead
// reaches, is valid UTF-8 (or the file starts with a UTF-16 byte-order mark,
// which decodes it whatever the system's encoding). Leaves the device's
// position where it was.
bool headerIsUtf8(QIODevice &device);

// Why a table gives no figure, in plain Russian: a sentence starting in lower
// case, to follow "Причина: ".
QString loadCause(const StatisticsDiagnosis &diagnosis);

// The table's tool tip on the statistics page: the file, what loading found,
// and the file's comment lines.
QString statisticsToolTip(const StatisticsDiagnosis &diagnosis);

#endif // VELMIRA_STATISTICSDIAGNOSIS_H
