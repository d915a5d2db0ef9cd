#ifndef VELMIRA_RESULTPROVENANCE_H
#define VELMIRA_RESULTPROVENANCE_H

#include <QString>

class QLineEdit;

// Says how the figure in the result field arose, as the field's tool tip and
// accessible description. Call it after the figure is in the field, and with
// an empty text when the figure goes.
void showFigureProvenance(QLineEdit *result, const QString &provenance);

#endif // VELMIRA_RESULTPROVENANCE_H
