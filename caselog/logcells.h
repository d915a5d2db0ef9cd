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

// The largest diameter a ureter can have in a log, in millimetres: a 14 typed
// for 1.4 must not count as a wide ureter.
constexpr double MaxLogDiameter = 10.0;

// A diameter in millimetres with a point or a decimal comma: finite, greater
// than 0 and at most MaxLogDiameter.
std::optional<double> readLogDiameter(const QString &cell);
// Whether readLogDiameter reads the cell; faster for the plain forms.
bool isLogDiameter(const QString &cell);

// "10-12", "10-12 Ch", "10/12", "10-12 Fr" and the same for 12-14.
std::optional<SheathSize> readLogSheath(const QString &cell);

// "да"/"нет", "yes"/"no", "1"/"0", in any case.
std::optional<bool> readLogYesNo(const QString &cell);

// "dd.mm.yyyy" (also with one-digit day or month) or "yyyy-mm-dd".
std::optional<QDate> readLogDate(const QString &cell);

#endif // VELMIRA_LOGCELLS_H
