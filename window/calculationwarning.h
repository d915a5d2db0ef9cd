#ifndef VELMIRA_CALCULATIONWARNING_H
#define VELMIRA_CALCULATIONWARNING_H

#include <QCoreApplication>
#include <QString>

struct CalculationInput;
struct CalculationResult;
struct StatisticsDiagnosis;

// Why a press gave no figure, in the clinician's words.
class CalculationWarning {
    Q_DECLARE_TR_FUNCTIONS(CalculationWarning)

public:
    // Which diameter field to correct, or which sheath size's statistics lack
    // the diameter, and then which file in which folder was read and what
    // loading it found. Meant for a message box in plain-text format: it may
    // quote the user's own input.
    static QString text(const CalculationResult &result, const CalculationInput &input,
                        const StatisticsDiagnosis &load);

private:
    static QString invalidDiameterText(int field, const QString &text);
    static QString fileDetails(const StatisticsDiagnosis &load);
};

#endif // VELMIRA_CALCULATIONWARNING_H
