#ifndef VELMIRA_PLAINNUMBER_H
#define VELMIRA_PLAINNUMBER_H

#include <QStringView>
#include <QtGlobal>

#include <optional>

// A number written plainly, as clinics and spreadsheets write diameters:
// ASCII digits, then optionally a decimal separator and more digits ("2",
// "1.52", "1,52"). Judged in place, without the copy the general number
// parsers make, because every row of a statistics file or a case log holds
// some; the callers send anything else to those parsers, so the two readings
// must agree on every text this accepts.
struct PlainNumber {
    qint64 whole = 0; // the digits before the separator
    bool fractionZero = true; // no digits after it, or only zeros
};

// Nothing for any other text, and for one over 15 characters, whose digits
// a double could not all hold. commaToo accepts a decimal comma as well.
std::optional<PlainNumber> readPlainNumber(QStringView text, bool commaToo);

#endif // VELMIRA_PLAINNUMBER_H
