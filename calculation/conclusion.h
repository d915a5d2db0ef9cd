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
    QString provenance; // as the result field's tool tip shows it
    QString program; // "Velmira 1.0.0"
    QDateTime when;
};

// The conclusion for the patient record, in a few lines of plain text that
// paste cleanly anywhere, and as an HTML table for programs that take it.
// The plain text keeps to characters that a record system in Windows-1251
// keeps; the table takes the width of the page it is pasted into, and no
// value breaks across lines.
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
    static QString diameters(const ConclusionFacts &facts);
    static QString smallest(const ConclusionFacts &facts);
    static QString keptTogether(QString value);
};

#endif // VELMIRA_CONCLUSION_H
