#ifndef VELMIRA_TABLECHECKJSON_H
#define VELMIRA_TABLECHECKJSON_H

#include "tablecheck.h"

#include <QByteArray>

// Every figure of a check as a JSON object, for scripts and other programs:
// rates and figures as fractions from 0 to 1, each interval a two-element
// list, and null where a figure or interval does not exist.
QByteArray tableCheckJson(const TableCheck &check);

#endif // VELMIRA_TABLECHECKJSON_H
