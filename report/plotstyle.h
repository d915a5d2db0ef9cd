#ifndef VELMIRA_PLOTSTYLE_H
#define VELMIRA_PLOTSTYLE_H

#include <QBrush>
#include <QPen>

// The pens and brushes of the plot's layers, shared by the plot and its
// legend so that each legend sample looks exactly like what it names.
// Widths are in millimetres, converted at the given device units per mm.
class PlotStyle {
public:
    explicit PlotStyle(double unitsPerMm);

    double mm(double millimetres) const { return millimetres * m_unitsPerMm; }

    QPen observedPen() const; // a row's point and its own interval
    QBrush observedBrush() const;
    QPen fitPen() const; // the isotonic fit
    QBrush bandBrush() const; // the pooled blocks' intervals
    QPen stepPen() const; // what the calculator shows
    QPen boundPen() const; // the fixed bounds
    QPen boundCheckPen() const; // the cases beyond a bound
    QPen diagonalPen() const; // perfect calibration: the rate equals the figure
    QPen gridPen() const;
    QPen axisPen() const;
    // Radius of a row's point: its area grows with the row's cases.
    double pointRadius(int cases, int largestCases) const;

private:
    double m_unitsPerMm;
};

#endif // VELMIRA_PLOTSTYLE_H
