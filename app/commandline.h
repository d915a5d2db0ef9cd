#ifndef VELMIRA_COMMANDLINE_H
#define VELMIRA_COMMANDLINE_H

#include <optional>
#include <string>

// What the command line asks for before any window exists. Only "--help" and
// "--version" are the program's own; every other argument is ignored (Qt's
// own options still reach the application object). The first of the two wins.
enum class CommandLineRequest { StartWindow, Help, Version };

CommandLineRequest commandLineRequest(int argc, const char *const *argv);

// The texts printed for the two requests, each ending with a line feed.
std::string helpText();
std::string versionText();

// Answers "--help" or "--version" on standard output and returns the exit
// status, or returns nothing when the window is to start. It needs no display
// and no application object, so it runs before either exists.
std::optional<int> answerCommandLine(int argc, const char *const *argv);

#endif // VELMIRA_COMMANDLINE_H
