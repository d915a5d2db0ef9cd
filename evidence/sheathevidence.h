#ifndef VELMIRA_SHEATHEVIDENCE_H
#define VELMIRA_SHEATHEVIDENCE_H

#include "probabilityrule.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

// What a clinic's case log says about one sheath size: the 17 rows of its
// statistics table with the fit behind each, and the check of the fixed
// bounds. Filled by the fit, read by the table writer and the report.

// A proportion with its 95 % Wilson score interval, as rates from 0 to 1.
struct Proportion {
    int cases = 0;
    int placed = 0;
    double low = 0.0;
    double high = 0.0;

    double rate() const { return cases > 0 ? double(placed) / cases : 0.0; }
};

// One row of a sheath size's table as the fit made it. The statistics file
// keeps its counts as RowCounts, which is what the calculator reads back.
struct FittedRow {
    QString diameter; // the two-decimal text the lookup compares: "1.51"
    int cases = 0; // cases whose smallest diameter renders to this text
    int placed = 0;
    double fittedRate = 0.0; // the isotonic fit, clipped to 0.29..0.93
    int percent = 0; // fittedRate in whole percent: the figure the calculator shows
    // The pooled block whose rate gave the value, with its interval. For a row
    // without cases of its own (interpolated) it is empty: blockCases is 0.
    Proportion block;
    QString blockFrom; // the diameters the block spans
    QString blockTo;

    bool isInterpolated() const { return cases == 0; }
    // Clipping to the fixed bounds moved the block's own rate. Judged from the
    // counts: the pooled rate of the fit may differ from placed / cases in its
    // last bit, which must not read as clipped.
    bool isClipped() const
    {
        return block.cases > 0
            && (block.rate() < LowerBoundFigure / 100.0 || block.rate() > UpperBoundFigure / 100.0);
    }
};

// The cases that a fixed bound decides, with their observed rate beside the bound's figure.
struct BoundCheck {
    double bound = 0.0; // millimetres
    int figure = 0; // LowerBoundFigure or UpperBoundFigure
    Proportion observed;

    bool isLower() const { return figure == LowerBoundFigure; }
    // The fixed figure lies outside the observed interval (never for no cases).
    bool disagrees() const;
    // The whole observed interval lies below the fixed figure.
    bool observedBelowFigure() const { return observed.high * 100.0 < figure; }
};

struct SheathEvidence {
    SheathSize sheath = SheathSize::None;
    QVector<FittedRow> rows; // 17, from the lower bound's text up to the upper bound's
    BoundCheck lower; // smallest diameter at or below the lower bound
    BoundCheck upper; // at or above the upper bound
    int strictureCases = 0; // excluded: the calculator shows 0 for them
    int tableCases() const; // cases in the rows
    int largestRowCases() const; // the most cases any one row has
    int allCases() const; // every case of this sheath size in the log
};

// What the files and the report say of the log as a whole.
struct LogSummary {
    QString logName; // the file name alone, never its folder
    QByteArray sha256; // of the log's bytes, in hex
    int rowsRead = 0; // data rows, bad ones included
    int badRows = 0;
    int skippedRows = 0; // bad rows left out with --skip-bad-rows
    bool diametersRounded = false; // none with more than one decimal
    QDate firstDate; // the period, when the log has a date column
    QDate lastDate;
    // Cases from this day on were held out to check the tables: the period
    // above is that of the cases the tables were built from. Null otherwise.
    QDate heldOutSince;
    QDateTime written;
    QString version; // of velmira-stats
};

#endif // VELMIRA_SHEATHEVIDENCE_H
