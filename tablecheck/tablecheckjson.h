#ifndef VELMIRA_TABLECHECKJSON_H
#define VELMIRA_TABLECHECKJSON_H

#include "tablecheck.h"
#include "unseencases.h"

#include <QByteArray>
#include <QJsonObject>

#include <optional>

// Every figure of a check as a JSON object, for scripts and other programs:
// rates and figures as fractions from 0 to 1, each interval a two-element
// list, and null where a figure or interval does not exist.
QJsonObject tableCheckObject(const TableCheck &check);
// With a second set of tables checked on the same cases, its object is under
// "compare"; with the cases chosen, "checked_from" (ISO, or null when every
// case was checked), "left_out_seen" and "left_out_undated".
QByteArray tableCheckJson(const TableCheck &check,
                          const std::optional<TableCheck> &compared = std::nullopt,
                          const UnseenCases *unseen = nullptr);

#endif // VELMIRA_TABLECHECKJSON_H
