#ifndef VELMIRA_STARTUPCHILD_H
#define VELMIRA_STARTUPCHILD_H

#include <string>

// One timed start-up of the start-up benchmarks: "velmira" runs the program's
// own start-up, "bare" a plain 510 x 775 Qt window; either quits as soon as its
// event loop has run once, after the window was shown. Returns the exit status.
int runStartupChild(int argc, char **argv, const std::string &kind);

#endif // VELMIRA_STARTUPCHILD_H
