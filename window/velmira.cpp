#include "velmira.h"
#include "ui_velmira.h"

#include "aboutbox.h"
#include "calculationwarning.h"
#include "picturepanel.h"
#include "probabilityrule.h"
#include "statisticstable.h"

#include <QMessageBox>

Velmira::Velmira(QWidget *parent) : QMainWindow(parent), ui(new Ui::Velmira)
{
    ui->setupUi(this);
    // Data files are looked up in the working directory, where the clinic keeps them.
    loadStatisticsTable(ui->tableW_d1012, QStringLiteral(".//Statistics_1.txt"));
    loadStatisticsTable(ui->tableW_d1214, QStringLiteral(".//Statistics_2.txt"));
    showPicture(ui->graphicsView, QStringLiteral(".//Tavrel.jpg"), this);
}

Velmira::~Velmira()
{
    delete ui;
}

void Velmira::on_pushButton_clicked()
{
    const CalculationInput input = calculationInput();
    const CalculationResult result = calculateProbability(input, statisticsFor(input));
    if (result.hasFigure()) {
        ui->lineEdit_P->setText(QString::number(result.figure, 10));
        return;
    }
    // Never leave the previous press's figure standing beside a failed one.
    ui->lineEdit_P->clear();
    showNoFigureWarning(calculationWarningText(result, input));
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

void Velmira::showNoFigureWarning(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, tr("Вероятность не рассчитана"), text, QMessageBox::Ok,
                    this);
    // The text may quote the user's input or a file: never read it as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
