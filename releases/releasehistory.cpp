#include "releasehistory.h"

#include "pendingreplace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

const QString ReleaseHistory::FileName = QStringLiteral("Velmira_releases.txt");

namespace {

// A history of yearly releases stays far below this.
constexpr qint64 MaxHistoryBytes = 1 << 20;

const QString Heading = QStringLiteral(
    "# История выпусков таблиц Velmira в этой папке: её дописывает velmira-stats при каждой "
    "установке и каждом возврате. Не правьте её.\n");
const QString TimeFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");
const QString ReleaseKey = QStringLiteral("Выпуск ");
const QString TimeKey = QStringLiteral("Дата: ");
const QString ActionKey = QStringLiteral("Действие: ");
const QString UserKey = QStringLiteral("Пользователь: ");
const QString ApprovedKey = QStringLiteral("Утвердил: ");
const QString ReasonKey = QStringLiteral("Причина: ");
const QString ReplacesKey = QStringLiteral("Заменяет выпуск: ");
const QString ShaKey = QStringLiteral(": SHA-256 ");

// A value on one line of its own, as the keeper may type anything.
QString oneLine(const QString &text)
{
    return text.simplified().left(200);
}

QString systemUser()
{
#ifdef Q_OS_UNIX
    // Run through pkexec, the keeper is the user who asked, not root.
    bool given = false;
    const uid_t uid = uid_t(qEnvironmentVariableIntValue("PKEXEC_UID", &given));
    if (const passwd *entry = getpwuid(given ? uid : getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    return qEnvironmentVariable("USERNAME", qEnvironmentVariable("USER"));
}

// The first comment line of a table: the log, its period and its cases.
QString sourceLine(const QByteArray &bytes)
{
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.startsWith('#'))
            return oneLine(QString::fromUtf8(line.mid(1)));
    }
    return QString();
}

} // namespace

ReleaseHistory ReleaseHistory::read(const QString &folder, QString *error)
{
    ReleaseHistory history;
    const QString path = currentFilePath(QDir(folder).filePath(FileName));
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return history;
    QFile file(path);
    const QString shown = QDir::toNativeSeparators(QDir(folder).filePath(FileName));
    if (!info.isFile() || info.isSymLink() || info.size() > MaxHistoryBytes
        || !file.open(QIODevice::ReadOnly)) {
        *error = tr("историю выпусков %1 не прочитать: это не обычный файл, он больше 1 МБ или "
                    "на него нет прав.")
                     .arg(shown);
        return ReleaseHistory();
    }
    history.m_bytes = file.read(MaxHistoryBytes + 1);
    if (!history.parse(QString::fromUtf8(history.m_bytes))) {
        *error = tr("история выпусков %1 повреждена или правлена вручную: её строки не читаются. "
                    "Ничего не изменено.")
                     .arg(shown);
        return ReleaseHistory();
    }
    return history;
}

bool ReleaseHistory::parse(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(ReleaseKey)) {
            bool number = false;
            Release release;
            release.number = line.mid(ReleaseKey.size()).toInt(&number);
            const int last = m_releases.isEmpty() ? 0 : m_releases.constLast().number;
            if (!number || release.number != last + 1)
                return false;
            m_releases.append(release);
            continue;
        }
        if (m_releases.isEmpty())
            return false;
        Release &release = m_releases.last();
        if (line.startsWith(TimeKey))
            release.time = QDateTime::fromString(line.mid(TimeKey.size()), TimeFormat);
        else if (line.startsWith(ActionKey))
            release.action = line.mid(ActionKey.size());
        else if (line.startsWith(UserKey))
            release.user = line.mid(UserKey.size());
        else if (line.startsWith(ApprovedKey))
            release.approvedBy = line.mid(ApprovedKey.size());
        else if (line.startsWith(ReasonKey))
            release.reason = line.mid(ReasonKey.size());
        else if (line.startsWith(ReplacesKey))
            release.replaces = line.mid(ReplacesKey.size()).toInt();
        else if (line.contains(ShaKey)) {
            const QString name = line.left(line.indexOf(ShaKey));
            const QString rest = line.mid(line.indexOf(ShaKey) + ShaKey.size());
            release.sha256.insert(name, rest.left(64).toLatin1());
            release.source.insert(name, rest.mid(66));
        } else {
            return false;
        }
    }
    for (const Release &release : m_releases) {
        if (!release.time.isValid() || release.sha256.isEmpty())
            return false;
    }
    return true;
}

const Release *ReleaseHistory::current() const
{
    return m_releases.isEmpty() ? nullptr : &m_releases.constLast();
}

const Release *ReleaseHistory::find(int number) const
{
    for (const Release &release : m_releases) {
        if (release.number == number)
            return &release;
    }
    return nullptr;
}

Release ReleaseHistory::next(const QMap<QString, QByteArray> &tables) const
{
    Release release;
    release.number = current() ? current()->number + 1 : 1;
    release.replaces = current() ? current()->number : 0;
    release.time = QDateTime::currentDateTime();
    release.user = systemUser();
    release.action = QStringLiteral("установка");
    for (auto table = tables.cbegin(); table != tables.cend(); ++table) {
        release.sha256.insert(
            table.key(),
            QCryptographicHash::hash(table.value(), QCryptographicHash::Sha256).toHex());
        release.source.insert(table.key(), sourceLine(table.value()));
    }
    return release;
}

QByteArray ReleaseHistory::entry(const Release &release)
{
    QString text = ReleaseKey + QString::number(release.number) + QLatin1Char('\n');
    text += TimeKey + release.time.toString(TimeFormat) + QLatin1Char('\n');
    text += ActionKey + oneLine(release.action) + QLatin1Char('\n');
    text += UserKey + oneLine(release.user) + QLatin1Char('\n');
    if (!release.approvedBy.isEmpty())
        text += ApprovedKey + oneLine(release.approvedBy) + QLatin1Char('\n');
    if (!release.reason.isEmpty())
        text += ReasonKey + oneLine(release.reason) + QLatin1Char('\n');
    if (release.replaces > 0)
        text += ReplacesKey + QString::number(release.replaces) + QLatin1Char('\n');
    for (auto sha = release.sha256.cbegin(); sha != release.sha256.cend(); ++sha)
        text += sha.key() + ShaKey + QString::fromLatin1(sha.value()) + QStringLiteral("; ")
            + release.source.value(sha.key()) + QLatin1Char('\n');
    return text.toUtf8();
}

QByteArray ReleaseHistory::appended(const Release &release) const
{
    const QByteArray start = m_bytes.isEmpty() ? Heading.toUtf8() : m_bytes;
    return start + (start.endsWith("\n\n") ? "" : "\n") + entry(release);
}

QString ReleaseHistory::describe(const Release &release)
{
    QString text = tr("выпуск %1 от %2 (%3")
                       .arg(release.number)
                       .arg(release.time.toString(QStringLiteral("dd.MM.yyyy")), release.action);
    if (!release.approvedBy.isEmpty())
        text += tr("; утвердил %1").arg(release.approvedBy);
    return text + QLatin1Char(')');
}
