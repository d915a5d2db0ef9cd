#ifndef VELMIRA_CALCULATIONWARNING_H
#define VELMIRA_CALCULATIONWARNING_H

#include <QString>

struct CalculationInput;
struct CalculationResult;
struct StatisticsDiagnosis;

// Why a press gave no figure, in the clinician's words: which diameter field to
// correct, or which sheath size's statistics lack the diameter, and then which
// file in which folder was read and what loading it found. Meant for a message
// box in plain-text format: it may quote the user's own input.
QString calculationWarningText(const CalculationResult &result, const CalculationInput &input,
                               const StatisticsDiagnosis &load);

#endif // VELMIRA_CALCULATIONWARNING_H
