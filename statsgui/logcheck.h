#ifndef VELMIRA_LOGCHECK_H
#define VELMIRA_LOGCHECK_H

#include "logevidence.h"
#include "tablecheck.h"
#include "tablesvalidation.h"
#include "unseencases.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// What the window says of a log's cases as a check of tables: the tables the
// calculator reads now, checked on the log's cases they cannot have seen, and
// the new tables the log gives, cross-validated and counted on those same
// cases, so that the two can be set side by side before anything is
// installed. Worked out once per read, off the GUI thread.
class LogCheck {
    Q_DECLARE_TR_FUNCTIONS(LogCheck)

public:
    LogCheck() = default;
    // folder: where the calculator reads its tables; empty when not known.
    LogCheck(const QString &folder, const LogEvidence &evidence);

    const QString &folder() const { return m_folder; }
    // Whether either statistics file is there at all.
    bool tablesInstalled() const { return m_installed.has_value(); }
    const std::optional<TableCheck> &installed() const { return m_installed; }
    // Of the new tables; none when the log could not be read.
    const std::optional<TablesValidation> &validation() const { return m_validation; }

    // The tab's text; newTables: whether the log gives tables that can be
    // saved, and so is worth comparing.
    QString text(bool newTables) const;
    // The check the tab's plot shows, and what it is; none without one.
    const TableCheck *plotted(bool newTables) const;
    QString plotCaption(bool newTables) const;

private:
    QString installedText() const;
    QString newTablesText() const;

    QString m_folder;
    std::optional<UnseenCases> m_unseen; // the cases the installed tables are checked on
    std::optional<TableCheck> m_installed;
    std::optional<TableCheck> m_freshOnUnseen; // the new tables on those cases
    std::optional<TablesValidation> m_validation;
};

#endif // VELMIRA_LOGCHECK_H
