#include "statisticstexts.h"

#include "rowcounts.h"
#include "statisticsdiagnosis.h"

#include <QDir>

namespace {

// A tool tip as tall as the screen helps nobody.
constexpr int MaxCommentLines = 20;

} // namespace

QString StatisticsTexts::loadCause(const StatisticsDiagnosis &diagnosis)
{
    using Status = StatisticsDiagnosis::Status;
    if (diagnosis.status == Status::NotFound)
        return tr("файл не найден в этой папке. Программа ищет файлы статистики в папке, "
                  "из которой её запустили.");
    if (diagnosis.status == Status::NotReadable && diagnosis.isDirectory)
        return tr("под этим именем в папке находится не файл, а папка.");
    if (diagnosis.status == Status::NotReadable && diagnosis.notRegularFile)
        return tr("под этим именем в папке находится не обычный файл (канал, устройство или "
                  "ссылка на них), и программа его не читает.");
    if (diagnosis.status == Status::NotReadable && diagnosis.tooLarge)
        return tr("файл больше %1 МБ: таблица статистики так велика не бывает, и программа его не "
                  "читает.")
            .arg(MaxStatisticsFileBytes / (1024 * 1024));
    if (diagnosis.status == Status::NotReadable)
        return tr("файл есть, но прочитать его не удаётся: нет прав на чтение.");
    if (diagnosis.spreadsheetExport)
        return tr("файл похож на выгрузку из электронной таблицы: в нём есть точки с запятой, "
                  "а пригодных строк через запятую нет. Сохраните его так: запятая между "
                  "столбцами, точка в диаметре, например: 1.52,61");
    if (diagnosis.status == Status::NoDataRows)
        return tr("в файле нет строк данных: кроме заголовка и комментариев, в нём нет ни одной "
                  "строки с запятой.");
    if (diagnosis.unusableRows == diagnosis.rows)
        return tr("ни одна строка файла не пригодна: в первом столбце должен быть диаметр с "
                  "точкой, во втором — целое число процентов от 0 до 100 (первая строка с "
                  "ошибкой — строка %1 файла).")
            .arg(diagnosis.firstUnusableLine);
    return {};
}

QString StatisticsTexts::toolTip(const StatisticsDiagnosis &diagnosis)
{
    QString text = tr("Файл: %1").arg(diagnosis.folder + QDir::separator() + diagnosis.fileName)
        + QLatin1Char('\n');
    if (diagnosis.status == StatisticsDiagnosis::Status::Loaded)
        text += loadedText(diagnosis) + evidenceText(diagnosis);
    else
        text += tr("Таблица пуста: %1").arg(loadCause(diagnosis));
    if (diagnosis.headerNotUtf8)
        text += QLatin1Char('\n')
            + tr("Заголовок записан не в кодировке UTF-8, поэтому его буквы могут отображаться "
                 "неверно. Сохраните файл в кодировке UTF-8 (с меткой BOM).");
    return text + commentLines(diagnosis);
}

QString StatisticsTexts::loadedText(const StatisticsDiagnosis &diagnosis)
{
    QString text = tr("Загружено строк: %1.").arg(diagnosis.rows);
    if (diagnosis.unusableRows > 0) {
        text += QLatin1Char(' ')
            + tr("Непригодных для расчёта: %1, первая — строка %2 файла (строка %3 таблицы).")
                  .arg(diagnosis.unusableRows)
                  .arg(diagnosis.firstUnusableLine)
                  .arg(diagnosis.firstUnusableRow + 1);
    }
    if (diagnosis.spreadsheetExport) {
        const QString cause = loadCause(diagnosis);
        text += QLatin1Char('\n') + cause.left(1).toUpper() + cause.mid(1);
    }
    return text;
}

QString StatisticsTexts::commentLines(const StatisticsDiagnosis &diagnosis)
{
    if (diagnosis.comments.isEmpty())
        return {};
    QString text = QStringLiteral("\n");
    for (const QString &comment : diagnosis.comments.mid(0, MaxCommentLines))
        text += QLatin1Char('\n') + StatisticsDiagnosis::shortened(comment);
    if (diagnosis.comments.size() > MaxCommentLines)
        text += QLatin1Char('\n') + QChar(0x2026);
    return text;
}

QString StatisticsTexts::evidenceText(const StatisticsDiagnosis &diagnosis)
{
    QString text;
    if (diagnosis.hasEvidenceColumns)
        text += QLatin1Char('\n')
            + tr("Статистика клиники: случаев в строках таблицы — %1, строк со счётчиками — %2; "
                 "проценты — изотоническая регрессия, интервалы — 95 % ДИ Уилсона.")
                  .arg(diagnosis.evidenceCases)
                  .arg(diagnosis.countedRows);
    if (diagnosis.malformedEvidenceRows > 0)
        text += QLatin1Char('\n')
            + tr("Строк с повреждёнными счётчиками случаев: %1 (первая — строка %2 таблицы): "
                 "счётчики не согласуются с процентом. Для них счётчики не показываются; "
                 "проценты читаются как обычно.")
                  .arg(diagnosis.malformedEvidenceRows)
                  .arg(diagnosis.firstMalformedEvidenceRow + 1);
    if (diagnosis.hasOtherColumns)
        text += QLatin1Char('\n')
            + tr("Столбцы после второго — не счётчики случаев: они не показываются и на расчёт "
                 "не влияют.");
    return text;
}

QString StatisticsTexts::rowToolTip(const RowCounts &evidence)
{
    if (evidence.isInterpolated())
        return tr("В этой строке нет наблюдений: процент интерполирован по соседним строкам.");
    return tr("Случаев с этим диаметром: %1 (установлено %2)")
               .arg(evidence.cases)
               .arg(evidence.placed)
        + QLatin1Char('\n')
        + tr("Блок %1–%2 мм: n = %3 (установлено %4), 95 % ДИ %5–%6 %")
              .arg(evidence.blockFrom, evidence.blockTo)
              .arg(evidence.blockCases)
              .arg(evidence.blockPlaced)
              .arg(evidence.intervalLow)
              .arg(evidence.intervalHigh);
}
