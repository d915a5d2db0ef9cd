#ifndef VELMIRA_WINDOW_H
#define VELMIRA_WINDOW_H

#include "sheathstatistics.h"

#include <QMainWindow>

#include <array>

class ConclusionCopy;
struct CalculationInput;
struct ConclusionFacts;
class QLineEdit;
class ResultNotice;

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
    void offerConclusion(const ConclusionFacts &facts);

    CalculationInput calculationInput() const;
    // The chosen sheath size's statistics; nothing when no size is chosen.
    const SheathStatistics *statisticsOf(SheathSize sheath) const;
    void showNoFigureWarning(const QString &text);
    QLineEdit *diameterField(int index) const;

    Ui::Velmira *ui;
    // Each sheath size's table and what loading it found, for the figure's
    // provenance and the warnings.
    std::array<SheathStatistics, 2> sheathStatistics;
    ConclusionCopy *conclusionCopy = nullptr;
    ResultNotice *notice = nullptr;
};

#endif // VELMIRA_WINDOW_H
