#include "statsoptions.h"

#include "velmiraversion.h"

#include "logcells.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString OutputName = QStringLiteral("output");
const QString ReplaceName = QStringLiteral("replace");
const QString SkipName = QStringLiteral("skip-bad-rows");
const QString CheckName = QStringLiteral("check");
const QString TablesName = QStringLiteral("tables");
const QString JsonName = QStringLiteral("json");
const QString InstallName = QStringLiteral("install");
const QString HoldoutName = QStringLiteral("holdout-since");
const QString CompareName = QStringLiteral("compare");
const QString FromName = QStringLiteral("from");
const QString AllCasesName = QStringLiteral("all-cases");
const QString RestoreName = QStringLiteral("restore");
const QString ApprovedName = QStringLiteral("approved-by");
const QString ReasonName = QStringLiteral("reason");
const QString HelpName = QStringLiteral("help");
const QString VersionName = QStringLiteral("version");

// One list feeds both the parser and the help text, so they cannot disagree.
QList<QCommandLineOption> options()
{
    return {
        QCommandLineOption(
            OutputName,
            StatsOptions::tr("записать таблицы и отчёт в папку ПАПКА (по умолчанию текущая)"),
            StatsOptions::tr("ПАПКА")),
        QCommandLineOption(
            ReplaceName,
            StatsOptions::tr("заменить имеющиеся файлы; прежние остаются рядом под именем "
                             "со временем их изменения")),
        QCommandLineOption(
            SkipName,
            StatsOptions::tr("не учитывать строки с ошибками, а не останавливаться на них; "
                             "файлы и отчёт называют их число")),
        QCommandLineOption(
            CheckName,
            StatsOptions::tr("не строить таблицы, а проверить имеющиеся на случаях журнала: "
                             "насколько их цифры совпадают с исходами")),
        QCommandLineOption(TablesName,
                           StatsOptions::tr("с --check: взять проверяемые таблицы из папки ПАПКА "
                                            "(по умолчанию текущая)"),
                           StatsOptions::tr("ПАПКА")),
        QCommandLineOption(JsonName,
                           StatsOptions::tr("с --check: записать все цифры проверки ещё и в "
                                            "файл ФАЙЛ (JSON)"),
                           StatsOptions::tr("ФАЙЛ")),
        QCommandLineOption(
            HoldoutName,
            StatsOptions::tr("построить таблицы из случаев до даты ДАТА (ДД.ММ.ГГГГ) и "
                             "проверить их на случаях с этой даты, которых они не видели"),
            StatsOptions::tr("ДАТА")),
        QCommandLineOption(FromName,
                           StatsOptions::tr("с --check: проверить на случаях с даты ДАТА (по "
                                            "умолчанию — со дня после последнего случая, из "
                                            "которых таблицы могли быть построены)"),
                           StatsOptions::tr("ДАТА")),
        QCommandLineOption(AllCasesName,
                           StatsOptions::tr("с --check: проверить на всех случаях журнала, и на "
                                            "тех, из которых таблицы построены (оптимистично)")),
        QCommandLineOption(CompareName,
                           StatsOptions::tr("с --check: проверить на тех же случаях и таблицы "
                                            "из папки ПАПКА и сказать, какие точнее"),
                           StatsOptions::tr("ПАПКА")),
        QCommandLineOption(
            InstallName,
            StatsOptions::tr("установить таблицы, построенные ранее в папке ИСТОЧНИК (по "
                             "умолчанию текущей), в папку ПАПКА, откуда их читает калькулятор; "
                             "прежние остаются рядом под именем со временем их изменения"),
            StatsOptions::tr("ПАПКА")),
        QCommandLineOption(
            RestoreName,
            StatsOptions::tr("вернуть в папку ПАПКА таблицы прежнего выпуска (или выпуска с "
                             "номером, указанным после папки) из её истории выпусков"),
            StatsOptions::tr("ПАПКА")),
        QCommandLineOption(ApprovedName,
                           StatsOptions::tr("с --install или --restore: кто из врачей утвердил "
                                            "выпуск; записывается в историю выпусков"),
                           StatsOptions::tr("ИМЯ")),
        QCommandLineOption(ReasonName,
                           StatsOptions::tr("с --install или --restore: почему; записывается в "
                                            "историю выпусков"),
                           StatsOptions::tr("ТЕКСТ")),
        QCommandLineOption(HelpName, StatsOptions::tr("показать эту справку и выйти")),
        QCommandLineOption(VersionName, StatsOptions::tr("показать версию и выйти")),
    };
}

StatsRequest answer(StatsRequest::Action action)
{
    StatsRequest request;
    request.action = action;
    return request;
}

StatsRequest failure(const QString &reason)
{
    StatsRequest request;
    request.action = StatsRequest::Action::Error;
    request.error = reason;
    return request;
}

// Only an option that takes a value can lack one, and only as the last argument.
QString missingValue(const QStringList &arguments)
{
    const QString last = arguments.isEmpty() ? QString() : arguments.constLast();
    QString what = StatsOptions::tr("папку");
    if (last == QStringLiteral("--") + JsonName)
        what = StatsOptions::tr("файл");
    else if (last == QStringLiteral("--") + HoldoutName)
        what = StatsOptions::tr("дату");
    const QString option
        = last.startsWith(QStringLiteral("--")) ? last : QStringLiteral("--output");
    return StatsOptions::tr("после %1 нужно указать %2. Справка: velmira-stats --help")
        .arg(option, what);
}

QString optionLine(const QCommandLineOption &option)
{
    QString names = QStringLiteral("--") + option.names().constFirst();
    if (!option.valueName().isEmpty())
        names += QLatin1Char(' ') + option.valueName();
    return QStringLiteral("  %1%2\n").arg(names.leftJustified(22), option.description());
}

StatsRequest installRequest(const QString &folder, const QStringList &positional)
{
    if (positional.size() > 1)
        return failure(StatsOptions::tr("для --install указано больше одной папки с таблицами: "
                                        "%1. Справка: velmira-stats --help")
                           .arg(positional.join(QStringLiteral(", "))));
    StatsRequest request;
    request.action = StatsRequest::Action::Install;
    request.installFolder = folder;
    request.installSource = positional.value(0, QStringLiteral("."));
    return request;
}

StatsRequest restoreRequest(const QString &folder, const QStringList &positional)
{
    bool number = positional.isEmpty();
    const int release = positional.value(0).toInt(&number);
    if (positional.size() > 1 || (!positional.isEmpty() && (!number || release < 1)))
        return failure(StatsOptions::tr("после --restore ПАПКА можно указать только номер "
                                        "выпуска, например 2, а указано «%1». Справка: "
                                        "velmira-stats --help")
                           .arg(positional.join(QLatin1Char(' '))));
    StatsRequest request;
    request.action = StatsRequest::Action::Restore;
    request.installFolder = folder;
    request.restoreRelease = positional.isEmpty() ? 0 : release;
    return request;
}

StatsRequest withHoldout(StatsRequest request, const QString &text)
{
    if (request.check)
        return failure(StatsOptions::tr("--holdout-since строит таблицы, а --check их только "
                                        "проверяет: укажите одно из двух. Справка: "
                                        "velmira-stats --help"));
    const std::optional<QDate> date = readLogDate(text);
    if (!date || !date->isValid())
        return failure(StatsOptions::tr("после --holdout-since нужна дата, например 01.06.2026, "
                                        "а указано «%1».")
                           .arg(text));
    request.holdoutSince = *date;
    return request;
}

} // namespace

StatsRequest StatsOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions(options());
    // The parser's own error texts are English; the messages here are Russian.
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return failure(tr("неизвестный параметр «%1». Справка: velmira-stats --help")
                               .arg(parser.unknownOptionNames().constFirst()));
        return failure(missingValue(arguments));
    }
    if (parser.isSet(HelpName))
        return answer(StatsRequest::Action::Help);
    if (parser.isSet(VersionName))
        return answer(StatsRequest::Action::Version);
    const QStringList positional = parser.positionalArguments();
    if ((parser.isSet(ApprovedName) || parser.isSet(ReasonName)) && !parser.isSet(InstallName)
        && !parser.isSet(RestoreName))
        return failure(tr("--approved-by и --reason действуют только вместе с --install или "
                          "--restore. Справка: velmira-stats --help"));
    StatsRequest release;
    if (parser.isSet(InstallName))
        release = installRequest(parser.value(InstallName), positional);
    else if (parser.isSet(RestoreName))
        release = restoreRequest(parser.value(RestoreName), positional);
    if (release.action != StatsRequest::Action::Run) {
        release.approvedBy = parser.value(ApprovedName);
        release.reason = parser.value(ReasonName);
        return release;
    }
    if (positional.isEmpty())
        return failure(tr("не указан журнал случаев. Справка: velmira-stats --help"));
    if (positional.size() > 1)
        return failure(tr("указано больше одного журнала: %1. Справка: velmira-stats --help")
                           .arg(positional.join(QStringLiteral(", "))));

    StatsRequest request;
    request.log = positional.constFirst();
    request.outputFolder
        = parser.isSet(OutputName) ? parser.value(OutputName) : QStringLiteral(".");
    request.replace = parser.isSet(ReplaceName);
    request.skipBadRows = parser.isSet(SkipName);
    request.check = parser.isSet(CheckName);
    if (!request.check
        && (parser.isSet(TablesName) || parser.isSet(JsonName) || parser.isSet(CompareName)
            || parser.isSet(FromName) || parser.isSet(AllCasesName)))
        return failure(tr("--tables, --json, --compare, --from и --all-cases действуют только "
                          "вместе с --check. Справка: velmira-stats --help"));
    if (parser.isSet(FromName) && parser.isSet(AllCasesName))
        return failure(tr("--from выбирает случаи с даты, а --all-cases берёт все: укажите одно "
                          "из двух. Справка: velmira-stats --help"));
    if (parser.isSet(FromName)) {
        const std::optional<QDate> from = readLogDate(parser.value(FromName));
        if (!from || !from->isValid())
            return failure(tr("после --from нужна дата, например 01.06.2026, а указано «%1».")
                               .arg(parser.value(FromName)));
        request.checkFrom = *from;
    }
    request.allCases = parser.isSet(AllCasesName);
    request.tablesFolder
        = parser.isSet(TablesName) ? parser.value(TablesName) : QStringLiteral(".");
    request.jsonFile = parser.value(JsonName);
    request.compareFolder = parser.value(CompareName);
    if (parser.isSet(HoldoutName))
        return withHoldout(request, parser.value(HoldoutName));
    return request;
}

QString StatsOptions::helpText()
{
    QString text = tr("Использование: velmira-stats [параметры] ЖУРНАЛ\n"
                      "       velmira-stats --install ПАПКА [ИСТОЧНИК]\n"
                      "       velmira-stats --restore ПАПКА [ВЫПУСК]\n"
                      "\n"
                      "Строит таблицы статистики Velmira из журнала случаев клиники:\n"
                      "Statistics_1.txt (кожух 10-12 Ch), Statistics_2.txt (12-14 Ch)\n"
                      "и отчёт Statistics_report.pdf.\n"
                      "\n"
                      "ЖУРНАЛ — книга .xlsx или .ods (лучше всего: диаметры в ней не\n"
                      "округлены форматом) или текстовый файл с разделителями (запятая,\n"
                      "точка с запятой или табуляция). Заголовок — первая из первых 20 строк,\n"
                      "где названы столбцы d1, d2, d3, sheath, stricture, placed и, по\n"
                      "желанию, date (или «диаметр 1», «диаметр 2», «диаметр 3», «кожух»,\n"
                      "«стриктура», «установлен», «дата»; единица после запятой или в\n"
                      "скобках не мешает). В книге читаются все листы с таким заголовком.\n"
                      "\n"
                      "Параметры:\n");
    for (const QCommandLineOption &option : options())
        text += optionLine(option);
    text += tr("\n"
               "Имеющиеся файлы не заменяются без --replace. Строка с ошибкой\n"
               "останавливает работу без --skip-bad-rows; тогда ничего не записывается.\n"
               "--install проверяет, что каждая таблица читается калькулятором, и\n"
               "устанавливает все или ни одной.\n");
#ifdef Q_OS_WIN
    // The installer puts the README beside the program; Windows has no man.
    text += tr("Подробнее: README.txt в папке программы\n");
#else
    text += tr("Подробнее: man velmira-stats\n");
#endif
    return text;
}

QString StatsOptions::versionText()
{
    return QStringLiteral("velmira-stats %1 (Qt %2)\n")
        .arg(QLatin1String(VELMIRA_VERSION), QLatin1String(qVersion()));
}
