#ifndef VELMIRA_DIAMETER_H
#define VELMIRA_DIAMETER_H

#include <QString>

#include <optional>

// The diameters, in millimetres, that a measured ureter can have. Outside them
// a value is a typing error, never a diameter: a 15 typed for 1.5 would give a
// confident 93 %, a 0.15 a confident 29 %. The calculator and a case log refuse
// the same values.
constexpr double SmallestDiameter = 0.5;
constexpr double LargestDiameter = 10.0;

// Reads a ureter diameter in millimetres as typed by the user. Both "." and ","
// count as the decimal separator, since clinicians on a Russian locale type a
// comma. Returns nothing for text that is empty, not a number, not finite or
// outside SmallestDiameter..LargestDiameter: such a value must never reach the
// rule as a diameter.
std::optional<double> readDiameter(const QString &text);

// The same reading without the range: any finite number, so that a message
// can tell a value out of range from text that is no number.
std::optional<double> readDiameterNumber(const QString &text);

// A diameter as the user typed it, trimmed and with a point for a decimal
// comma: a record states every diameter in one decimal mark.
QString diameterAsEntered(const QString &text);

// "от 0.5 до 10 мм": the range as messages state it.
QString diameterRangeText();

// The smallest diameter rendered as the rule compares it with the table:
// fixed notation with exactly two decimals and a point ("1.5" gives "1.50").
QString twoDecimalText(double diameter);

#endif // VELMIRA_DIAMETER_H
