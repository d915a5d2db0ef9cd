#ifndef VELMIRA_LOGCELLS_H
#define VELMIRA_LOGCELLS_H

#include "probabilityrule.h"

#include <QDate>
#include <QString>

#include <optional>

// The cell syntaxes of a case log, as clinics write them. Each reader returns
// nothing for a cell it cannot read; surrounding blanks never matter.

// A header name or a cell as compared with the names a log may use: lower
// case, without spaces, tabs or the no-break spaces spreadsheets like, so
// that "Диаметр 1", " d1 " and "ДИАМЕТР  1" are one name.
QString comparableText(const QString &text);

// How a log writes the fraction of a diameter. A log keeps to one; a diameter
// written the other way ("2,364" among points) may be a typing of another
// unit, so its row is bad rather than read.
enum class DecimalMark { None, Point, Comma };

// A diameter in millimetres with a point or a decimal comma, within the range
// the calculator accepts (SmallestDiameter..LargestDiameter): a 14 typed for
// 1.4 must not count as a wide ureter.
std::optional<double> readLogDiameter(const QString &cell);
// Whether readLogDiameter reads the cell; faster for the plain forms.
bool isLogDiameter(const QString &cell);

// How a diameter cell writes its fraction: its decimal mark, and how many
// digits follow it ("1,50" has two).
struct DiameterForm {
    DecimalMark mark = DecimalMark::None;
    int decimals = 0;
};
DiameterForm diameterForm(const QString &cell);

// "10-12", "10/12", with "Ch" or "Fr" before or after the sizes ("Ch" also in
// Cyrillic letters), and the same for 12-14.
std::optional<SheathSize> readLogSheath(const QString &cell);

// "да"/"нет", "yes"/"no", "1"/"0", "ИСТИНА"/"ЛОЖЬ", "TRUE"/"FALSE" (what
// logical cells and check boxes give) in any case, and "+"/"-" (a minus
// sign, a hyphen or an en dash).
std::optional<bool> readLogYesNo(const QString &cell);

// "dd.mm.yyyy", "dd.mm.yy" (the year 20yy), with one-digit day or month too,
// or "yyyy-mm-dd".
std::optional<QDate> readLogDate(const QString &cell);
// Whether the cell has one of those forms, whether or not such a day exists:
// "31.02.2024" has the form of a date, but there is no such date.
bool hasLogDateForm(const QString &cell);
// The years a procedure of the log can have been done in: a date outside
// them ("01.01.0001", "31.12.9999") is a typing slip or a placeholder, and
// would stretch the tables' period.
constexpr int FirstLogYear = 1990;
int lastLogYear(); // the next year, for a log kept in another time zone
bool isLogYear(int year);

#endif // VELMIRA_LOGCELLS_H
