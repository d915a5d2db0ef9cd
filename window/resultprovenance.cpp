#include "resultprovenance.h"

#include <QLineEdit>

void showFigureProvenance(QLineEdit *result, const QString &provenance)
{
    result->setToolTip(provenance);
    result->setAccessibleDescription(provenance);
}
