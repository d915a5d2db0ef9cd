#include "textsamples.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

// Loads the pseudo-translation that check_texts.py makes from lupdate's output
// (every text marked ⟦text⟧) into the program's code, as a real translation
// would be loaded, and checks that a sample text of every context lupdate
// found comes out marked: lupdate files each text under the context the code
// looks it up in.
class TextsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyContextTranslates_data();
    void everyContextTranslates();
    void everySampleHasItsContext();

private:
    QMap<QString, QStringList> m_sources; // per context, as lupdate found them
};

namespace {

const QString MarkOpen = QStringLiteral("\u27e6");
const QString MarkClose = QStringLiteral("\u27e7");

QMap<QString, QStringList> tsSources(const QString &path)
{
    QMap<QString, QStringList> sources;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sources;
    QXmlStreamReader ts(&file);
    QString context;
    while (!ts.atEnd()) {
        if (ts.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (ts.name() == QLatin1String("name"))
            context = ts.readElementText();
        else if (ts.name() == QLatin1String("source"))
            sources[context].append(ts.readElementText());
    }
    return sources;
}

// The source as shown: its arguments anything, even a marked text of their own.
QString shownPattern(const QString &source)
{
    QStringList parts;
    for (const QString &part : source.split(QRegularExpression(QStringLiteral("%\\d+"))))
        parts.append(QRegularExpression::escape(part));
    return parts.join(QStringLiteral(".*?"));
}

bool matches(const QString &text, const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

} // namespace

void TextsTest::initTestCase()
{
    m_sources = tsSources(QStringLiteral(VELMIRA_TEXTS_TS));
    QVERIFY2(!m_sources.isEmpty(), "no contexts in " VELMIRA_TEXTS_TS);
}

// One row per context of the .ts, so that a new context without a sample fails.
void TextsTest::everyContextTranslates_data()
{
    QTest::addColumn<QString>("context");
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key();
}

void TextsTest::everyContextTranslates()
{
    QFETCH(QString, context);
    const QMap<QString, TextSample> samples = textSamples();
    if (!samples.contains(context))
        QFAIL(qPrintable(QStringLiteral("no sample text for the context %1").arg(context)));
    const TextSample &sample = samples[context];
    QVERIFY2(
        m_sources[context].contains(sample.source),
        qPrintable(QStringLiteral("lupdate found no \"%1\" in %2").arg(sample.source, context)));
    const QString pattern = shownPattern(sample.source);

    const QString plain = sample.show();
    QVERIFY2(matches(plain, pattern) && !plain.contains(MarkOpen), qPrintable(plain));

    QTranslator pseudo;
    QVERIFY(pseudo.load(QStringLiteral(VELMIRA_TEXTS_QM)));
    QVERIFY(QCoreApplication::installTranslator(&pseudo));
    const QString marked = sample.show();
    QCoreApplication::removeTranslator(&pseudo);
    QVERIFY2(
        matches(marked,
                QRegularExpression::escape(MarkOpen) + pattern
                    + QRegularExpression::escape(MarkClose)),
        qPrintable(
            QStringLiteral("%1 shows, under the pseudo-translation: %2").arg(context, marked)));
}

// A sample whose context lupdate no longer finds is a context renamed or gone.
void TextsTest::everySampleHasItsContext()
{
    const QMap<QString, TextSample> samples = textSamples();
    for (auto it = samples.cbegin(); it != samples.cend(); ++it)
        QVERIFY2(m_sources.contains(it.key()), qPrintable(it.key()));
}

QTEST_MAIN(TextsTest)
#include "tst_texts.moc"
