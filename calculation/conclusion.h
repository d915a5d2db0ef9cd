#ifndef VELMIRA_CONCLUSION_H
#define VELMIRA_CONCLUSION_H

#include "probabilityrule.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// Everything a conclusion states: the inputs of a press, its figure, how the
// figure arose and what computed it. Nothing here can identify a patient: the
// program never knows one.
struct ConclusionFacts {
    CalculationInput input;
    CalculationResult result; // one with a figure
    QString sentence; // the form's caption before the figure, on one line
    QString provenance; // as the result field's tool tip shows it
    QString program; // "Velmira 1.0.0"
    QDateTime when;
};

// The conclusion for the patient record, in a few lines of plain text that
// paste cleanly anywhere, and as a small HTML table for programs that take it.
class Conclusion {
    Q_DECLARE_TR_FUNCTIONS(Conclusion)

public:
    static QString text(const ConclusionFacts &facts);
    static QString html(const ConclusionFacts &facts);

private:
    struct Line {
        QString label;
        QString value;
    };
    static QVector<Line> lines(const ConclusionFacts &facts);
};

#endif // VELMIRA_CONCLUSION_H
