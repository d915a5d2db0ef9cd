#ifndef VELMIRA_STATSSTARTUP_H
#define VELMIRA_STATSSTARTUP_H

#include "statsoptions.h"

// What velmira-stats does before a run: the answers that need no log, and the
// set-up that lets the report be drawn wherever the command runs.

// Prints the help, the version or the usage error and returns the exit status.
int answerStatsRequest(const StatsRequest &request);

// Before the application object: no display is needed, and neither the
// rule's debug line nor Qt's warnings reach the clinic's console.
void prepareStatsRun();

#endif // VELMIRA_STATSSTARTUP_H
