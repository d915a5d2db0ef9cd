#include "calculatorfolder.h"

#include "tableinstaller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

const QString PackageFolder = QStringLiteral("/etc/velmira");
const QString PackageProgramFolder = QStringLiteral("/usr/bin");

} // namespace

QString calculatorFolderPath(bool windows, const QString &programFolder, const QString &programData,
                             bool packageFolderExists)
{
    if (windows)
        return programData.isEmpty()
            ? QString()
            // Windows' separators, converted on any system, so that the rule is tested everywhere.
            : QDir::cleanPath(QString(programData).replace(QLatin1Char('\\'), QLatin1Char('/'))
                              + QStringLiteral("/Velmira"));
    if (QDir::cleanPath(programFolder) == PackageProgramFolder && packageFolderExists)
        return PackageFolder;
    return {};
}

bool canCreateFilesIn(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".velmira-probe-XXXXXX")));
    return probe.open();
}

CalculatorFolder calculatorFolder()
{
#ifdef Q_OS_WIN
    const bool windows = true;
#else
    const bool windows = false;
#endif
    CalculatorFolder folder;
    folder.path = calculatorFolderPath(windows, QCoreApplication::applicationDirPath(),
                                       qEnvironmentVariable("ProgramData"),
                                       QFileInfo(PackageFolder).isDir());
    folder.needsElevation = !folder.path.isEmpty() && !canCreateFilesIn(folder.path);
    return folder;
}
