#include "resultprovenance.h"

#include <QLineEdit>

void showFigureProvenance(QLineEdit *result, const QString &provenance)
{
    result->setToolTip(provenance);
    result->setAccessibleDescription(provenance);
}

void dropProvenanceWithFigure(QLineEdit *result)
{
    QObject::connect(result, &QLineEdit::textChanged, result,
                     [result] { showFigureProvenance(result, QString()); });
}
