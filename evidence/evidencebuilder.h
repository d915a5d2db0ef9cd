#ifndef VELMIRA_EVIDENCEBUILDER_H
#define VELMIRA_EVIDENCEBUILDER_H

#include "sheathevidence.h"

struct SheathTally;

// The 17 rows of a sheath size's table from its counts: the isotonic fit,
// clipped to the fixed figures, each row's pooled block with its Wilson
// interval, and the check of both fixed bounds.
SheathEvidence buildSheathEvidence(SheathSize sheath, const SheathTally &tally);

#endif // VELMIRA_EVIDENCEBUILDER_H
