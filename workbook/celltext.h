#ifndef VELMIRA_CELLTEXT_H
#define VELMIRA_CELLTEXT_H

#include <QString>
#include <QStringView>

// A cell's stored value as the text a CSV cell would hold, whichever format
// stored it: the reader of the log then treats both alike.
class CellText {
public:
    // A stored number ("1.4500000000000002", "2E-3") at full precision as a
    // spreadsheet shows it: at most 15 significant digits, a point, no
    // exponent within [-15, 20]. Text that is not a number comes back as is.
    static QString number(QStringView stored);
    // The same, giving back the stored text itself, without a copy, when it is already shown so.
    static QString number(const QString &stored);
    static QString fromDouble(double value);

    // A serial day number of a date cell as "yyyy-mm-dd", the day only. In
    // the 1900 system day 60 is the 29th of February 1900 that never was, as
    // the spreadsheet shows it. A number outside the dates is a number.
    static QString serialDate(QStringView stored, bool date1904);

    // The day of an ISO 8601 date and time ("2024-03-05T10:00:00").
    static QString isoDay(QStringView stored);

    // An ISO 8601 duration ("PT12H30M00S") as a fraction of a day, the stored
    // value of a time cell; text that is no duration comes back as is.
    static QString duration(QStringView stored);

    static QString logical(bool value);
};

#endif // VELMIRA_CELLTEXT_H
