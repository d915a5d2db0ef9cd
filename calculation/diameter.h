#ifndef VELMIRA_DIAMETER_H
#define VELMIRA_DIAMETER_H

#include <QString>

#include <optional>

// Reads a ureter diameter in millimetres as typed by the user. Both "." and ","
// count as the decimal separator, since clinicians on a Russian locale type a
// comma. Returns nothing for text that is empty, not a number, not finite or
// not greater than zero: such a value must never reach the rule as a diameter.
std::optional<double> readDiameter(const QString &text);

// The smallest diameter rendered as the rule compares it with the table:
// fixed notation with exactly two decimals and a point ("1.5" gives "1.50").
QString twoDecimalText(double diameter);

#endif // VELMIRA_DIAMETER_H
