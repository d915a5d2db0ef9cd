#ifndef VELMIRA_STARTUP_H
#define VELMIRA_STARTUP_H

class QApplication;

// Everything the program does once its application object exists: sets the
// application icon, shows the main window and runs the event loop until the
// window is closed. Returns the event loop's result, the exit status.
int runVelmira(QApplication &application);

#endif // VELMIRA_STARTUP_H
