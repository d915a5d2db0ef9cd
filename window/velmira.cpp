#include "velmira.h"
#include "ui_velmira.h"

#include "aboutbox.h"
#include "calculationwarning.h"
#include "conclusion.h"
#include "conclusioncopy.h"
#include "editedcells.h"
#include "figureprovenance.h"
#include "picturepanel.h"
#include "probabilityrule.h"
#include "resultnotice.h"
#include "resultprovenance.h"
#include "velmiraversion.h"

#include <QMessageBox>
#include <QShortcut>
#include <QTabBar>

Velmira::Velmira(QWidget *parent) : QMainWindow(parent), ui(new Ui::Velmira)
{
    ui->setupUi(this);
    // Data files are looked up in the working directory, where the clinic keeps them.
    const QString folder = QStringLiteral(".//");
    sheathStatistics = {SheathStatistics::load(SheathSize::Ch10To12, ui->tableW_d1012,
                                               folder + statisticsFileName(SheathSize::Ch10To12)),
                        SheathStatistics::load(SheathSize::Ch12To14, ui->tableW_d1214,
                                               folder + statisticsFileName(SheathSize::Ch12To14))};
    showPicture(ui->graphicsView, QStringLiteral(".//Tavrel.jpg"), this);
    // Edits of the tables are marked, so that a figure from one says so.
    for (const SheathStatistics &statistics : sheathStatistics)
        markEditedCells(statistics.table);

    notice = new ResultNotice(ui->lineEdit_P);
    conclusionCopy = new ConclusionCopy(ui->lineEdit_P, ui->tab, notice, this);
    // After loading: filling the tables is no change of the user's.
    clearFigureOnAnyChange();
    setUpKeyboard();
}

Velmira::~Velmira()
{
    delete ui;
}

void Velmira::on_pushButton_clicked()
{
    static const SheathStatistics noStatistics;
    const CalculationInput input = calculationInput();
    const SheathStatistics *chosen = statisticsOf(input.sheath);
    const SheathStatistics &statistics = chosen ? *chosen : noStatistics;
    const CalculationResult result
        = calculateProbability(input, chosen ? chosen->table->model() : nullptr);
    const StatisticsDiagnosis &load = statistics.read.diagnosis;
    if (result.hasFigure()) {
        ui->lineEdit_P->setText(QString::number(result.figure, 10));
        const QString provenance
            = figureProvenance(result, input.sheath, load.fileName, load.firstComment(),
                               statistics.evidenceOf(result.tableRow));
        showFigureProvenance(ui->lineEdit_P, provenance);
        offerConclusion({input, result, provenance, QStringLiteral("Velmira " VELMIRA_VERSION),
                         QDateTime::currentDateTime()});
        // A screen reader hears the figure without the focus leaving the diameters.
        if (ResultNotice::assistiveTechnologyActive())
            notice->say(tr("Вероятность успешной установки мочеточникового кожуха: %1 %")
                            .arg(result.figure));
        return;
    }
    // Never leave the previous press's figure standing beside a failed one.
    clearFigure();
    showNoFigureWarning(CalculationWarning::text(result, input, load));
    if (result.outcome == CalculationResult::Outcome::InvalidDiameter) {
        QLineEdit *field = diameterField(result.invalidDiameter);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

void Velmira::on_pushButton_2_clicked()
{
    showAboutBox();
}

// A figure answers the inputs of its press only: any later change takes it away.
void Velmira::clearFigureOnAnyChange()
{
    for (int index = 0; index < 3; ++index)
        connect(diameterField(index), &QLineEdit::textChanged, this, &Velmira::clearFigure);
    connect(ui->radioB_1012, &QAbstractButton::toggled, this, &Velmira::clearFigure);
    connect(ui->radioB_1214, &QAbstractButton::toggled, this, &Velmira::clearFigure);
    connect(ui->checkBox, &QAbstractButton::toggled, this, &Velmira::clearFigure);
    for (const SheathStatistics &statistics : sheathStatistics)
        connect(statistics.table, &QTableWidget::itemChanged, this, &Velmira::clearFigure);
}

void Velmira::setUpKeyboard()
{
    // Return calculates from any diameter field, as it does on the focused button.
    for (int index = 0; index < 3; ++index)
        connect(diameterField(index), &QLineEdit::returnPressed, ui->pushButton,
                &QAbstractButton::click);

    // Tab walks the inputs only; the pages switch with Ctrl+Tab and Ctrl+Shift+Tab
    // from anywhere in the window, as in other tabbed windows.
    ui->tabWidget->tabBar()->setFocusPolicy(Qt::NoFocus);
    const int pages = ui->tabWidget->count();
    connect(new QShortcut(QKeySequence::NextChild, this), &QShortcut::activated, this,
            [this, pages] { showPage((ui->tabWidget->currentIndex() + 1) % pages); });
    connect(new QShortcut(QKeySequence::PreviousChild, this), &QShortcut::activated, this,
            [this, pages] { showPage((ui->tabWidget->currentIndex() + pages - 1) % pages); });

    // Typing goes into the first diameter as soon as the window opens.
    ui->lineEdit_one->setFocus(Qt::OtherFocusReason);
}

// Shows the page with the focus on its first input, not on whatever the hidden page had.
void Velmira::showPage(int index)
{
    ui->tabWidget->setCurrentIndex(index);
    QWidget *first = index == 0 ? static_cast<QWidget *>(ui->lineEdit_one) : ui->tableW_d1012;
    first->setFocus(Qt::TabFocusReason);
}

// The figure's provenance and its conclusion go with it.
void Velmira::clearFigure()
{
    ui->lineEdit_P->clear();
    showFigureProvenance(ui->lineEdit_P, QString());
    conclusionCopy->withdraw();
    notice->withdraw();
}

void Velmira::offerConclusion(const ConclusionFacts &facts)
{
    conclusionCopy->offer(Conclusion::text(facts), Conclusion::html(facts));
}

CalculationInput Velmira::calculationInput() const
{
    CalculationInput input;
    input.diameterTexts
        = {diameterField(0)->text(), diameterField(1)->text(), diameterField(2)->text()};
    input.stricture = ui->checkBox->isChecked();
    if (ui->radioB_1012->isChecked())
        input.sheath = SheathSize::Ch10To12;
    else if (ui->radioB_1214->isChecked())
        input.sheath = SheathSize::Ch12To14;
    return input;
}

const SheathStatistics *Velmira::statisticsOf(SheathSize sheath) const
{
    for (const SheathStatistics &statistics : sheathStatistics) {
        if (statistics.sheath == sheath)
            return &statistics;
    }
    return nullptr;
}

QLineEdit *Velmira::diameterField(int index) const
{
    QLineEdit *const fields[] = {ui->lineEdit_one, ui->lineEdit_two, ui->lineEdit_three};
    return fields[index];
}

void Velmira::showNoFigureWarning(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, tr("Вероятность не рассчитана"), text, QMessageBox::Ok,
                    this);
    // The text may quote the user's input or a file: never read it as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
