#ifndef VELMIRA_PLOTWIDGET_H
#define VELMIRA_PLOTWIDGET_H

#include "sheathevidence.h"

#include <QWidget>

class PlotLegend;

// The report's plot of one sheath size and its legend, drawn on screen by the report's own
// code at the widget's size and the screen's resolution.
class PlotWidget : public QWidget {
    Q_OBJECT

public:
    explicit PlotWidget(const SheathEvidence &sheath, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double legendHeight(const PlotLegend &legend) const;

    SheathEvidence m_sheath;
};

#endif // VELMIRA_PLOTWIDGET_H
