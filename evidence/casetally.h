#ifndef VELMIRA_CASETALLY_H
#define VELMIRA_CASETALLY_H

#include "probabilityrule.h"

#include <QString>
#include <QVector>

struct LogCase;

// The two-decimal texts of a sheath size's table rows, from its lower bound's
// to its upper bound's: every text the lookup can reach, 17 per size.
QStringList tableRowTexts(SheathSize sheath);

// The counts of one sheath size, before any fit.
struct SheathTally {
    QVector<int> rowCases; // per row of tableRowTexts
    QVector<int> rowPlaced;
    int lowerCases = 0; // decided by the fixed lower bound
    int lowerPlaced = 0;
    int upperCases = 0;
    int upperPlaced = 0;
    int strictureCases = 0;

    SheathTally &operator+=(const SheathTally &other);
};

// Sorts cases as the calculator decides them, through its own rule: a
// stricture excludes a case, a fixed bound takes it to that bound's check,
// and every other case goes to the row its smallest diameter looks up.
class CaseTally {
public:
    CaseTally();

    void add(const LogCase &logCase);
    void add(const CaseTally &other);
    const SheathTally &tally(SheathSize sheath) const;

private:
    SheathTally &tallyOf(SheathSize sheath);
    void addToRow(SheathTally &tally, SheathSize sheath, const QString &minimumText, bool placed);

    SheathTally small; // 10-12 Ch
    SheathTally large; // 12-14 Ch
};

#endif // VELMIRA_CASETALLY_H
