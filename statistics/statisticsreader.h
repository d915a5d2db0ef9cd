#ifndef VELMIRA_STATISTICSREADER_H
#define VELMIRA_STATISTICSREADER_H

#include "statisticsdiagnosis.h"
#include "statisticsfile.h"

// A statistics file as read from disk, with what reading it found.
struct StatisticsRead {
    StatisticsFile file; // empty when the file could not be opened
    StatisticsDiagnosis diagnosis;
    // As read, so that what was checked is what is installed, never the file
    // again, which may have been swapped meanwhile.
    QByteArray bytes;
};

// Opens and parses the file at path, as the calculator reads its tables: in
// the system's own encoding unless a byte-order mark says otherwise, so that
// a file saved in the system's code page (Windows-1251 on a Russian Windows)
// reads the same under Qt 5 and Qt 6. A file that cannot be opened gives an
// empty file and says why; nothing is ever written.
StatisticsRead readStatisticsFile(const QString &path);

#endif // VELMIRA_STATISTICSREADER_H
