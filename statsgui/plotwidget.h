#ifndef VELMIRA_PLOTWIDGET_H
#define VELMIRA_PLOTWIDGET_H

#include "sheathevidence.h"

#include <QWidget>

// The report's plot of one sheath size, drawn on screen by the report's own
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
    SheathEvidence m_sheath;
};

#endif // VELMIRA_PLOTWIDGET_H
