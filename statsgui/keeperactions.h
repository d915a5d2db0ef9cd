#ifndef VELMIRA_KEEPERACTIONS_H
#define VELMIRA_KEEPERACTIONS_H

#include "tablesbuild.h"
#include "tablesvalidation.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <optional>

class QWidget;
class TableInstaller;

// What the keeper can do with the tables a log gives: save the report, open
// it, save the files into a folder, or install the tables where the
// calculator reads them. Each asks through dialogs over the window.
class KeeperActions : public QObject {
    Q_OBJECT

public:
    explicit KeeperActions(QWidget *window);

    // The tables to act on, what installing them would change, per sheath
    // size, and how well they predict the log's cases, for the report.
    void setBuild(const TablesBuild &build, const QStringList &changes,
                  const std::optional<TablesValidation> &validation);
    const QString &reportPath() const { return m_reportPath; }
    // The title of every dialog about installing, as the button reads.
    static QString installTitle();
    // The tables and the report, as the command writes them into a folder.
    QVector<OutputFile> outputFiles() const;
    // Writes them with the command's rules once the keeper has chosen; the error, or empty.
    QString saveTablesInto(const QString &path, bool replace, QStringList *kept) const;

public slots:
    void saveReport();
    void openReport();
    void saveTables();
    void install();
    void restore();

signals:
    void reportSaved(const QString &path);
    // After an install or a restore: what the window knows of the folder is stale.
    void tablesChanged();

private:
    QByteArray report() const;
    bool confirmReplace(OutputFolder &folder, const QVector<OutputFile> &files);
    bool confirmInstall(const QString &folder);
    QString tablesFolder();
    bool askApproval();
    void installed(bool done, const QString &message);
    void warn(const QString &text);

    QWidget *m_window;
    TableInstaller *m_installer;
    TablesBuild m_build;
    QStringList m_changes;
    std::optional<TablesValidation> m_validation;
    QString m_reportPath;
};

#endif // VELMIRA_KEEPERACTIONS_H
