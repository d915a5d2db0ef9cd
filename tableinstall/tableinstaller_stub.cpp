// A stand-in for the table installer, for building the keeper's window before
// the installer itself is there (VELMIRA_TABLEINSTALL_STUB): it installs
// through OutputFolder in this process and never elevates.
#include "tableinstaller.h"

#include <QProcessEnvironment>

CalculatorFolder calculatorFolder()
{
    CalculatorFolder folder;
    folder.path = QProcessEnvironment::systemEnvironment().value(
        QStringLiteral("VELMIRA_STUB_CALCULATOR_FOLDER"));
    return folder;
}

TableInstaller::TableInstaller(QObject *parent) : QObject(parent) { }

void TableInstaller::install(const QVector<OutputFile> &files, const QString &folder)
{
    QStringList kept;
    const QString error = OutputFolder(folder).write(files, true, &kept);
    emit finished(error.isEmpty(), error.isEmpty() ? kept.join(QLatin1Char('\n')) : error);
}

QString TableInstaller::manualCommand(const QString &folder) const
{
    return QStringLiteral("velmira-stats --install ") + folder;
}
