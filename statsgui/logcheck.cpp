#include "logcheck.h"

#include "crossvalidation.h"
#include "shownfigures.h"
#include "tablechecktexts.h"

#include <QDir>

namespace {

bool anyTableIn(const ShownFigures &figures)
{
    for (const SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        if (figures.diagnosis(sheath).status != StatisticsDiagnosis::Status::NotFound)
            return true;
    }
    return false;
}

} // namespace

LogCheck::LogCheck(const QString &folder, const LogEvidence &evidence) : m_folder(folder)
{
    if (!evidence.reading.error.isEmpty() || evidence.reading.cancelled)
        return;
    if (!folder.isEmpty()) {
        const ShownFigures installed(folder);
        if (anyTableIn(installed)) {
            m_unseen.emplace(evidence.cases, UnseenCases::firstUnseenDay(installed));
            m_installed = checkTables(tallyFigures(installed, m_unseen->cases()));
        }
    }
    m_validation = validateTables(evidence.sheaths, evidence.cases);
    if (!m_unseen || !m_validation->crossValidated)
        return;
    // The same folds as the validation's; counted only on the installed tables' cases.
    const UnseenCases &unseen = *m_unseen;
    m_freshOnUnseen = unseen.optimistic()
        ? m_validation->crossValidated
        : checkTables(crossValidatedTally(
            evidence.cases, TablesValidation::Folds, TablesValidation::Seed,
            [&unseen](const LogCase &logCase) { return unseen.includes(logCase); }));
}

// What decides between the tables comes first, the details after.
QString LogCheck::text(bool newTables) const
{
    if (!newTables || !m_validation)
        return installedText();
    return newTablesText() + QLatin1Char('\n') + installedText();
}

QString LogCheck::installedText() const
{
    if (m_folder.isEmpty())
        return tr("Папка, из которой калькулятор читает таблицы, не известна: установленные "
                  "таблицы проверить нельзя.\n");
    const QString folder = QDir::toNativeSeparators(m_folder);
    if (!m_installed)
        return tr("В папке %1 нет таблиц калькулятора (ни Statistics_1.txt, ни "
                  "Statistics_2.txt): проверять нечего.\n")
            .arg(folder);
    return tr("Установленные таблицы (папка %1) на случаях этого журнала:\n").arg(folder)
        + m_unseen->text() + TableCheckTexts::summary(*m_installed);
}

QString LogCheck::newTablesText() const
{
    if (!m_validation->crossValidated)
        return tr("Случаев меньше %1: перекрёстной проверки новых таблиц нет.\n")
            .arg(TablesValidation::Folds);
    const TableCheck &fresh = *m_validation->crossValidated;
    if (!m_installed)
        return tr("Новые таблицы из этого журнала, перекрёстная проверка (%1 блоков): каждый "
                  "случай получил цифру таблиц, построенных без его блока.\n")
                   .arg(TablesValidation::Folds)
            + TableCheckTexts::summary(fresh);
    return TableCheckTexts::comparison(
        *m_installed, *m_freshOnUnseen,
        tr("Сравнение на случаях этого журнала, которых установленные таблицы не видели: первые "
           "— установленные таблицы (случаев с цифрой %1), вторые — новые таблицы из этого "
           "журнала, перекрёстная проверка (%2 блоков: каждый случай получил цифру таблиц, "
           "построенных без его блока; случаев %3).")
            .arg(m_installed->cases)
            .arg(TablesValidation::Folds)
            .arg(m_freshOnUnseen->cases));
}

const TableCheck *LogCheck::plotted(bool newTables) const
{
    if (m_installed)
        return &*m_installed;
    if (newTables && m_validation && m_validation->crossValidated)
        return &*m_validation->crossValidated;
    return nullptr;
}

QString LogCheck::plotCaption(bool newTables) const
{
    if (m_installed)
        return tr("Установленные таблицы на случаях журнала");
    if (plotted(newTables))
        return tr("Новые таблицы, перекрёстная проверка (%1 блоков)").arg(TablesValidation::Folds);
    return tr("Проверять нечего");
}
