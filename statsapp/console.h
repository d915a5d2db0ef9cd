#ifndef VELMIRA_CONSOLE_H
#define VELMIRA_CONSOLE_H

#include <QString>

// The command's text output, in UTF-8 whatever the system's locale: the
// messages are Russian, and Qt's locale codec without an application object
// would be plain ASCII. On Windows the console is switched to UTF-8 first.
// Both return false when the stream could not take the text.
bool printOut(const QString &text);
bool printError(const QString &text);

#endif // VELMIRA_CONSOLE_H
