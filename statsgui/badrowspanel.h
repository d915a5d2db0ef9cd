#ifndef VELMIRA_BADROWSPANEL_H
#define VELMIRA_BADROWSPANEL_H

#include "caselogreader.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QTableWidget;

// The log's bad rows, one table row per group as the command lists them,
// with the list to copy and the choice to build from the good rows only.
class BadRowsPanel : public QWidget {
    Q_OBJECT

public:
    explicit BadRowsPanel(const CaseLogReading &reading, QWidget *parent = nullptr);

    QTableWidget *table() const { return m_table; }
    QCheckBox *skipBox() const { return m_skip; }

signals:
    void skipChanged(bool skip);

private:
    void fillTable(const BadCellGroups &groups);
    static QStringList cells(const BadCellGroup &group);
    QString heading(const CaseLogReading &reading) const;

    QString m_list; // as velmira-stats prints it
    QTableWidget *m_table;
    QCheckBox *m_skip;
};

#endif // VELMIRA_BADROWSPANEL_H
