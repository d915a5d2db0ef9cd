#ifndef VELMIRA_WINDOW_H
#define VELMIRA_WINDOW_H

#include <QMainWindow>

struct CalculationInput;
class QAbstractItemModel;
class QLineEdit;

namespace Ui {
class Velmira;
}

// The calculator's only window: the calculation page with the picture and the
// inputs, and the statistics page with one table per sheath size.
class Velmira : public QMainWindow {
    Q_OBJECT

public:
    explicit Velmira(QWidget *parent = nullptr);
    ~Velmira() override;

private slots:
    // Connected by name from the form; the names must match the buttons'.
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();

private:
    void clearFigureOnAnyChange();
    void setUpKeyboard();
    void showPage(int index);
    void clearFigure();

    CalculationInput calculationInput() const;
    const QAbstractItemModel *statisticsFor(const CalculationInput &input) const;
    void showNoFigureWarning(const QString &text);
    QLineEdit *diameterField(int index) const;

    Ui::Velmira *ui;
};

#endif // VELMIRA_WINDOW_H
