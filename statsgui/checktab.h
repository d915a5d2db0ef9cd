#ifndef VELMIRA_CHECKTAB_H
#define VELMIRA_CHECKTAB_H

#include "logcheck.h"

#include <QWidget>

class CalibrationWidget;
class QLabel;
class QPlainTextEdit;

// The tables checked against the log's cases: the calibration plot and the
// check's text, with the new tables beside the installed ones once the log
// gives tables.
class CheckTab : public QWidget {
    Q_OBJECT

public:
    explicit CheckTab(const LogCheck &check, QWidget *parent = nullptr);

    // newTables: whether the log now gives tables, as skipping bad rows may change.
    void refresh(bool newTables);
    QPlainTextEdit *textView() const { return m_text; }
    CalibrationWidget *plot() const { return m_plot; }

private:
    LogCheck m_check;
    QLabel *m_caption;
    QLabel *m_legend;
    CalibrationWidget *m_plot;
    QPlainTextEdit *m_text;
};

#endif // VELMIRA_CHECKTAB_H
