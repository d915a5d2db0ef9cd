#include "statisticsdiagnosis.h"

#include "statisticsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#else
#include <QTextCodec>
#endif

namespace {

// Enough for any header a person writes; a runaway first line is judged by its start.
constexpr qint64 HeaderLookAhead = 4096;
// A tool tip as tall as the screen helps nobody, nor does a runaway line.
constexpr int MaxCommentLines = 20;
constexpr int MaxCommentLength = 200;

QString tr(const char *text)
{
    return QCoreApplication::translate("Velmira", text);
}

QString shortened(const QString &text)
{
    return text.size() > MaxCommentLength ? text.left(MaxCommentLength - 1) + QChar(0x2026) : text;
}

StatisticsDiagnosis located(const QString &path, StatisticsDiagnosis::Status status)
{
    const QFileInfo info(path);
    StatisticsDiagnosis diagnosis;
    diagnosis.status = status;
    diagnosis.fileName = info.fileName();
    diagnosis.folder = QDir::toNativeSeparators(QDir::cleanPath(info.absolutePath()));
    diagnosis.isDirectory = info.isDir();
    return diagnosis;
}

// Incomplete sequences at the end are not errors: the look ahead may cut one.
bool isUtf8(const QByteArray &bytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded)
    return !decoder.hasError();
#else
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), int(bytes.size()), &state);
    return state.invalidChars == 0;
#endif
}

QString loadedText(const StatisticsDiagnosis &diagnosis)
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

} // namespace

QString StatisticsDiagnosis::firstComment() const
{
    for (const QString &comment : comments) {
        if (!comment.isEmpty())
            return shortened(comment);
    }
    return {};
}

StatisticsDiagnosis diagnoseUnopened(const QString &path)
{
    return located(path,
                   QFileInfo::exists(path) ? StatisticsDiagnosis::Status::NotReadable
                                           : StatisticsDiagnosis::Status::NotFound);
}

StatisticsDiagnosis diagnoseParsed(const QString &path, const StatisticsFile &file,
                                   bool headerIsUtf8)
{
    StatisticsDiagnosis diagnosis
        = located(path,
                  file.rows.isEmpty() ? StatisticsDiagnosis::Status::NoDataRows
                                      : StatisticsDiagnosis::Status::Loaded);
    diagnosis.rows = int(file.rows.size());
    diagnosis.unusableRows = file.unusableRows;
    diagnosis.firstUnusableLine = file.firstUnusableLine;
    diagnosis.firstUnusableRow = file.firstUnusableRow;
    diagnosis.spreadsheetExport = file.hasSemicolons && file.unusableRows == diagnosis.rows;
    diagnosis.headerNotUtf8 = !headerIsUtf8;
    diagnosis.comments = file.comments;
    return diagnosis;
}

bool headerIsUtf8(QIODevice &device)
{
    const QByteArray start = device.peek(HeaderLookAhead);
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return true;
    const int end = int(start.indexOf('\n'));
    return isUtf8(end < 0 ? start : start.left(end));
}

QString loadCause(const StatisticsDiagnosis &diagnosis)
{
    using Status = StatisticsDiagnosis::Status;
    if (diagnosis.status == Status::NotFound)
        return tr("файл не найден в этой папке. Программа ищет файлы статистики в папке, "
                  "из которой её запустили.");
    if (diagnosis.status == Status::NotReadable && diagnosis.isDirectory)
        return tr("под этим именем в папке находится не файл, а папка.");
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
    return tr("в таблице нет строки с этим диаметром в первом столбце и целым числом процентов "
              "от 0 до 100 во втором (вкладка «Статистика»).");
}

QString statisticsToolTip(const StatisticsDiagnosis &diagnosis)
{
    QString text = tr("Файл: %1").arg(diagnosis.folder + QDir::separator() + diagnosis.fileName)
        + QLatin1Char('\n');
    if (diagnosis.status == StatisticsDiagnosis::Status::Loaded)
        text += loadedText(diagnosis);
    else
        text += tr("Таблица пуста: %1").arg(loadCause(diagnosis));
    if (diagnosis.headerNotUtf8)
        text += QLatin1Char('\n')
            + tr("Заголовок записан не в кодировке UTF-8, поэтому его буквы могут отображаться "
                 "неверно. Сохраните файл в кодировке UTF-8 (с меткой BOM).");
    if (!diagnosis.comments.isEmpty()) {
        text += QLatin1Char('\n');
        for (const QString &comment : diagnosis.comments.mid(0, MaxCommentLines))
            text += QLatin1Char('\n') + shortened(comment);
        if (diagnosis.comments.size() > MaxCommentLines)
            text += QLatin1Char('\n') + QChar(0x2026);
    }
    return text;
}
