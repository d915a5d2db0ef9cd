#ifndef VELMIRA_STARTUP_H
#define VELMIRA_STARTUP_H

#include "displayscaling.h"

#include <optional>

class QApplication;

// Everything the program does once its application object exists: sets the
// application icon, scales the fonts, the style and the form as the plan says
// (by default as planScaling says for this application object), shows the
// main window and runs the event loop until the window is closed. Returns the
// event loop's result, the exit status.
int runVelmira(QApplication &application, std::optional<ScalePlan> plan = std::nullopt);

#endif // VELMIRA_STARTUP_H
