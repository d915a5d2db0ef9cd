#ifndef VELMIRA_NUMBERFORMAT_H
#define VELMIRA_NUMBERFORMAT_H

#include <QStringView>

// Whether a spreadsheet's number format shows a date: a date cell is a
// number (days since the date system's start) that only its format tells.
class NumberFormat {
public:
    // A built-in format by its number (ECMA-376's list and the East Asian ones).
    static bool isBuiltInDate(int id);
    // A custom format code: a day or a year outside quotes, brackets and
    // escapes. A time alone ("h:mm", "[h]:mm:ss") is no date.
    static bool isDateCode(QStringView code);
};

#endif // VELMIRA_NUMBERFORMAT_H
