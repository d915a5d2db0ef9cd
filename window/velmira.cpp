#include "velmira.h"
#include "ui_velmira.h"

#include "aboutbox.h"
#include "calculationwarning.h"
#include "editedcells.h"
#include "figureprovenance.h"
#include "picturepanel.h"
#include "probabilityrule.h"
#include "resultprovenance.h"
#include "statisticstable.h"

#include <QMessageBox>

Velmira::Velmira(QWidget *parent) : QMainWindow(parent), ui(new Ui::Velmira)
{
    ui->setupUi(this);
    // Data files are looked up in the working directory, where the clinic keeps them.
    smallSheathLoad = loadStatisticsTable(ui->tableW_d1012, QStringLiteral(".//Statistics_1.txt"));
    largeSheathLoad = loadStatisticsTable(ui->tableW_d1214, QStringLiteral(".//Statistics_2.txt"));
    showPicture(ui->graphicsView, QStringLiteral(".//Tavrel.jpg"), this);

    // Where figures come from: edits of the tables, and the provenance of the result.
    markEditedCells(ui->tableW_d1012);
    markEditedCells(ui->tableW_d1214);
    dropProvenanceWithFigure(ui->lineEdit_P);
}

Velmira::~Velmira()
{
    delete ui;
}

void Velmira::on_pushButton_clicked()
{
    const CalculationInput input = calculationInput();
    const CalculationResult result = calculateProbability(input, statisticsFor(input));
    const StatisticsDiagnosis &load = loadFor(input.sheath);
    if (result.hasFigure()) {
        ui->lineEdit_P->setText(QString::number(result.figure, 10));
        showFigureProvenance(
            ui->lineEdit_P,
            figureProvenance(result, input.sheath, load.fileName, load.firstComment()));
        return;
    }
    // Never leave the previous press's figure standing beside a failed one.
    ui->lineEdit_P->clear();
    showNoFigureWarning(calculationWarningText(result, input, load));
}

void Velmira::on_pushButton_2_clicked()
{
    showAboutBox();
}

CalculationInput Velmira::calculationInput() const
{
    CalculationInput input;
    input.diameterTexts
        = {ui->lineEdit_one->text(), ui->lineEdit_two->text(), ui->lineEdit_three->text()};
    input.stricture = ui->checkBox->isChecked();
    if (ui->radioB_1012->isChecked())
        input.sheath = SheathSize::Ch10To12;
    else if (ui->radioB_1214->isChecked())
        input.sheath = SheathSize::Ch12To14;
    return input;
}

const QAbstractItemModel *Velmira::statisticsFor(const CalculationInput &input) const
{
    switch (input.sheath) {
    case SheathSize::Ch10To12:
        return ui->tableW_d1012->model();
    case SheathSize::Ch12To14:
        return ui->tableW_d1214->model();
    case SheathSize::None:
        break;
    }
    return nullptr;
}

const StatisticsDiagnosis &Velmira::loadFor(SheathSize sheath) const
{
    static const StatisticsDiagnosis noTable;
    switch (sheath) {
    case SheathSize::Ch10To12:
        return smallSheathLoad;
    case SheathSize::Ch12To14:
        return largeSheathLoad;
    case SheathSize::None:
        break;
    }
    return noTable;
}

void Velmira::showNoFigureWarning(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, tr("Вероятность не рассчитана"), text, QMessageBox::Ok,
                    this);
    // The text may quote the user's input or a file: never read it as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
