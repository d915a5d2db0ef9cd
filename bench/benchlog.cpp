#include "benchlog.h"

#include "logtext.h"

#include <QString>
#include <QStringList>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

#include <random>

QByteArray generatedLog(int cases)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> smallest(1300, 2200), extra(0, 600), percent(0, 99);
    QString text = QStringLiteral("№ записи;ФИО;Дата;Хирург;Диаметр 1;Диаметр 2;Диаметр 3;Кожух;"
                                  "Стриктура;Установлен\r\n");
    text.reserve(cases * 80);
    for (int i = 0; i < cases; ++i) {
        const int d = smallest(random);
        const auto mm = [](int thousandths) {
            return QString::number(thousandths / 1000.0, 'f', 3)
                .replace(QLatin1Char('.'), QLatin1Char(','));
        };
        text += QStringLiteral(
                    "СИН-%1;Вымыслов Аркадий;%2.03.2025;Хирург Альфа;%3;%4;%5;%6;%7;%8\r\n")
                    .arg(i)
                    .arg(1 + i % 28)
                    .arg(mm(d), mm(d + extra(random)), mm(d + extra(random)),
                         d < 1750 ? QStringLiteral("10-12 Ch") : QStringLiteral("12-14 Ch"),
                         percent(random) < 3 ? QStringLiteral("да") : QStringLiteral("нет"),
                         percent(random) < 60 ? QStringLiteral("да") : QStringLiteral("нет"));
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
#else
    return QTextCodec::codecForName("Windows-1251")->fromUnicode(text);
#endif
}

qint64 readAndSplit(const QByteArray &bytes)
{
    const QString text = decodeLogText(bytes).text;
    qint64 fields = 0;
    for (int start = 0; start < text.size();) {
        int end = int(text.indexOf(QLatin1Char('\n'), start));
        if (end < 0)
            end = int(text.size());
        fields += text.mid(start, end - start).split(QLatin1Char(';')).size();
        start = end + 1;
    }
    return fields;
}
