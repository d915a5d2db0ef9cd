#ifndef VELMIRA_CALCULATORFOLDER_H
#define VELMIRA_CALCULATORFOLDER_H

#include <QString>

// The choice behind calculatorFolder() (tableinstaller.h), from what it
// depends on, so that each case can be tested on any system: on Windows
// %ProgramData%\Velmira; on Linux /etc/velmira when the program runs from
// /usr/bin and that folder exists, which only the Debian package gives;
// otherwise none (a build folder, another prefix), and the keeper chooses.
QString calculatorFolderPath(bool windows, const QString &programFolder, const QString &programData,
                             bool packageFolderExists);

// Whether this user can create a file in folder, tried rather than read from
// its permissions: Windows' access lists and root say more than the bits.
bool canCreateFilesIn(const QString &folder);

#endif // VELMIRA_CALCULATORFOLDER_H
