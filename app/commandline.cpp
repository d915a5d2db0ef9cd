#include "commandline.h"

#include "velmiraversion.h"

#include <QtGlobal>

#include <cstdio>
#include <cstring>

CommandLineRequest commandLineRequest(int argc, const char *const *argv)
{
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--help") == 0)
            return CommandLineRequest::Help;
        if (std::strcmp(argv[index], "--version") == 0)
            return CommandLineRequest::Version;
    }
    return CommandLineRequest::StartWindow;
}

std::string helpText()
{
    return "Usage: velmira [--help | --version]\n"
           "\n"
           "Velmira states the probability, in whole percent, that a ureteral access\n"
           "sheath can be placed, from three ureter diameters, the sheath size\n"
           "(10-12 Ch or 12-14 Ch) and whether a stricture is present.\n"
           "\n"
           "It reads Statistics_1.txt (10-12 Ch), Statistics_2.txt (12-14 Ch),\n"
           "Tavrel.jpg (the picture) and stet.png (the icon) from the working\n"
           "directory; a missing file leaves its table empty.\n"
           "\n"
           "  --help     print this help and exit\n"
           "  --version  print the version and exit\n"
           "\n"
           "Any other argument is ignored. See velmira(1).\n";
}

std::string versionText()
{
    // The run-time Qt tells which of the two builds this is.
    return std::string("velmira ") + VELMIRA_VERSION + " (Qt " + qVersion() + ")\n";
}

std::optional<int> answerCommandLine(int argc, const char *const *argv)
{
    std::string text;
    switch (commandLineRequest(argc, argv)) {
    case CommandLineRequest::StartWindow:
        return std::nullopt;
    case CommandLineRequest::Help:
        text = helpText();
        break;
    case CommandLineRequest::Version:
        text = versionText();
        break;
    }
    // A closed or full standard output is a failure the caller should see.
    const bool written = std::printf("%s", text.c_str()) >= 0;
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}
