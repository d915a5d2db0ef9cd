#ifndef VELMIRA_RESULTPROVENANCE_H
#define VELMIRA_RESULTPROVENANCE_H

#include <QString>

class QLineEdit;

// Says how the figure in the result field arose, as the field's tool tip and
// accessible description. Call it after the figure is in the field.
void showFigureProvenance(QLineEdit *result, const QString &provenance);

// Lets the provenance live only as long as its figure: any change of the
// field's text, a cleared field included, takes both away again.
void dropProvenanceWithFigure(QLineEdit *result);

#endif // VELMIRA_RESULTPROVENANCE_H
