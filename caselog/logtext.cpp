#include "logtext.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#else
#include <QTextCodec>
#endif

namespace {

const QByteArray Utf8Mark("\xEF\xBB\xBF");
const QByteArray Utf16LittleMark("\xFF\xFE");
const QByteArray Utf16BigMark("\xFE\xFF");

// By pointer and size: Qt 5's QString::fromUtf8(QByteArray) stops at a zero byte.
QString fromUtf8(const QByteArray &bytes, int from = 0)
{
    return QString::fromUtf8(bytes.constData() + from, int(bytes.size()) - from);
}

LogText decoded(QString text, const char *encoding)
{
    LogText log;
    log.text = std::move(text);
    log.encoding = QLatin1String(encoding);
    log.decoded = true;
    const int zero = int(log.text.indexOf(QChar(0)));
    if (zero >= 0) {
        log.fault = LogText::Fault::ZeroByte;
        log.beforeFault = log.text.left(zero);
    }
    return log;
}

// The length of the well-formed UTF-8 sequence at p (no overlong forms, no
// surrogates, nothing past U+10FFFF), or 0 when there is none.
int utf8Sequence(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = *p;
    if (lead < 0x80)
        return 1;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (more < 0 || lead > 0xF4 || end - p <= more)
        return 0;
    // The second byte's range excludes overlong forms, surrogates and too-large values.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i <= more; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    return more + 1;
}

struct Utf8Check {
    int firstFault = -1; // the offset of the first byte that is no UTF-8; -1 for none
    int sequences = 0; // well-formed multi-byte sequences
    int faults = 0; // bytes that start none
};

// Stops at the first fault unless told to count on: a Windows-1251 log
// fails within its first Cyrillic letter instead of being walked twice.
Utf8Check checkUtf8(const QByteArray &bytes, bool whole)
{
    Utf8Check check;
    const auto *begin = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = begin + bytes.size();
    for (const unsigned char *p = begin; p < end;) {
        const int length = utf8Sequence(p, end);
        if (length > 1)
            ++check.sequences;
        if (length > 0) {
            p += length;
            continue;
        }
        if (check.firstFault < 0)
            check.firstFault = int(p - begin);
        ++check.faults;
        if (!whole)
            break;
        ++p;
    }
    return check;
}

// Text has no bytes 0 to 8; UTF-16 of Latin and Cyrillic letters has 0 or 4
// as every other byte. Judged on the start, where the header is.
bool utf16WithoutMark(const QByteArray &bytes)
{
    const int size = int(std::min<qsizetype>(bytes.size(), 4096)) & ~1;
    if (size < 4)
        return false;
    std::array<int, 2> high {};
    for (int i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(bytes.at(i)) <= 4)
            ++high[std::size_t(i % 2)];
    }
    const int pairs = size / 2;
    // Little-endian has the high byte second, big-endian first.
    return (4 * high[1] >= 3 * pairs && 4 * high[0] < pairs)
        || (4 * high[0] >= 3 * pairs && 4 * high[1] < pairs);
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

QString utf16(const QByteArray &bytes, bool littleEndian)
{
    QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    return decoder.decode(bytes);
}

// Qt 6 decodes code pages through ICU, which Debian's Qt 6 is built with.
std::optional<QString> windows1251(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid())
        return std::nullopt;
    return QString(decoder.decode(bytes));
}

#else

QString utf16(const QByteArray &bytes, bool littleEndian)
{
    // The MIB numbers of UTF-16LE and UTF-16BE, which read no mark of their own.
    return QTextCodec::codecForMib(littleEndian ? 1014 : 1013)->toUnicode(bytes);
}

std::optional<QString> windows1251(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForName("Windows-1251");
    if (!codec)
        return std::nullopt;
    return codec->toUnicode(bytes);
}

#endif

} // namespace

LogText decodeLogText(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Mark))
        return decoded(fromUtf8(bytes, int(Utf8Mark.size())), "UTF-8");
    if (bytes.startsWith(Utf16LittleMark) || bytes.startsWith(Utf16BigMark))
        return decoded(utf16(bytes.mid(2), bytes.startsWith(Utf16LittleMark)), "UTF-16");
    if (utf16WithoutMark(bytes)) {
        LogText log;
        log.encoding = QStringLiteral("UTF-16");
        log.decoded = true;
        log.fault = LogText::Fault::Utf16WithoutMark;
        return log;
    }
    if (checkUtf8(bytes, false).firstFault < 0)
        return decoded(fromUtf8(bytes), "UTF-8");
    // A 1251 log forms a UTF-8 sequence only by chance ("Сё"), a UTF-8 log
    // with a name pasted from elsewhere mostly does.
    const Utf8Check check = checkUtf8(bytes, true);
    if (check.sequences > check.faults) {
        LogText log = decoded(QString(), "UTF-8");
        log.fault = LogText::Fault::MixedEncoding;
        log.beforeFault = fromUtf8(bytes.left(check.firstFault));
        return log;
    }
    if (std::optional<QString> text = windows1251(bytes))
        return decoded(std::move(*text), "Windows-1251");
    LogText none;
    none.encoding = QStringLiteral("Windows-1251");
    return none;
}
