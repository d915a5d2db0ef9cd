#ifndef VELMIRA_KEEPERWINDOW_H
#define VELMIRA_KEEPERWINDOW_H

#include "logreadworker.h"
#include "tablesbuild.h"

#include <QMainWindow>
#include <QThread>

class CheckTab;
class KeeperActions;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;

// The statistics keeper's window: a log opened by button, by dropping it or
// as the program's argument, read on a worker thread, and everything the
// command would say of it shown before anything is saved or installed.
class KeeperWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit KeeperWindow(QWidget *parent = nullptr);
    ~KeeperWindow() override;

    // The program's arguments: the first after the program's name is a log.
    void openArguments(const QStringList &arguments);
    void openLog(const QString &path);
    // Where the calculator's installed tables are looked for; the
    // installation's own folder unless set.
    void setInstalledFolder(const QString &folder) { m_installedFolder = folder; }
    bool isReading() const { return m_reading; }
    QTabWidget *tabs() const { return m_tabs; }
    const LogReadResult &result() const { return m_result; }
    const TablesBuild &build() const { return m_build; }
    KeeperActions *actions() const { return m_actions; }

signals:
    void readRequested(const QString &path, const QString &installedFolder);
    void logShown();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *topBar();
    QWidget *actionBar();
    void chooseLog();
    void cancelReading();
    void setReading(bool reading);
    void showProgress(int rowsRead);
    void showResult(const LogReadResult &result);
    void setSkipBadRows(bool skip);
    void refreshOverview();
    void refreshActions();
    void refreshCheck();
    QStringList changeSummaries() const;
    void stopWorker();

    QThread m_thread;
    LogReadWorker *m_worker;
    KeeperActions *m_actions;
    LogReadResult m_result;
    TablesBuild m_build;
    bool m_reading = false;
    bool m_skipBadRows = false;
    QString m_installedFolder;

    QLabel *m_file;
    QPushButton *m_open;
    QProgressBar *m_progress;
    QPushButton *m_cancel;
    QTabWidget *m_tabs;
    QWidget *m_overview = nullptr;
    QWidget *m_changes = nullptr;
    CheckTab *m_check = nullptr;
    QLabel *m_status;
    QPushButton *m_saveReport;
    QPushButton *m_openReport;
    QPushButton *m_saveTables;
    QPushButton *m_install;
    QPushButton *m_restore;
};

#endif // VELMIRA_KEEPERWINDOW_H
