#ifndef VELMIRA_CALIBRATIONWIDGET_H
#define VELMIRA_CALIBRATIONWIDGET_H

#include "tablecheck.h"

#include <QWidget>

#include <optional>

// The report's calibration plot of a check, drawn on screen by the report's
// own code at the widget's size and the screen's resolution.
class CalibrationWidget : public QWidget {
    Q_OBJECT

public:
    explicit CalibrationWidget(QWidget *parent = nullptr);

    // None leaves the widget blank.
    void setCheck(const std::optional<TableCheck> &check);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<TableCheck> m_check;
};

#endif // VELMIRA_CALIBRATIONWIDGET_H
