#ifndef VELMIRA_FIGUREPROVENANCE_H
#define VELMIRA_FIGUREPROVENANCE_H

#include "rowcounts.h"

#include <QString>

struct CalculationResult;
enum class SheathSize;

// How a figure arose, in the clinician's words: the stricture, the bound the
// smallest diameter met, or the table row that gave it. For the result field's
// tool tip and accessible description; empty when the press gave no figure.
// tableFile names the file the sheath size's table was read from; note, the
// first comment line of that file, ends the text of a figure from the table,
// so that a figure from demonstration data says so where it is read. evidence,
// the counts a clinic's file gives for the row, says how much stands behind
// the figure; counts are not shown for a row the user has edited, and counts
// that contradict the row are never shown: the text says so instead.
QString figureProvenance(const CalculationResult &result, SheathSize sheath,
                         const QString &tableFile, const QString &note,
                         const RowEvidence &evidence = {});

// The one sentence that says a row's counts contradict its figure, wherever
// such a row is shown or refused.
QString countsDisagreementText();

#endif // VELMIRA_FIGUREPROVENANCE_H
