#include "logtext.h"

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

LogText decoded(QString text, const char *encoding)
{
    return {std::move(text), QLatin1String(encoding), true};
}

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF). It stops at the first fault: a Windows-1251 log
// fails within its first Cyrillic letter instead of being decoded twice.
bool isUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p++;
        if (lead < 0x80)
            continue;
        int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
        if (more < 0 || lead > 0xF4 || end - p < more)
            return false;
        // The second byte's range excludes overlong forms, surrogates and too-large values.
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (*p < low || *p > high)
            return false;
        for (++p, --more; more > 0; --more, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false;
        }
    }
    return true;
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
        return decoded(QString::fromUtf8(bytes.mid(Utf8Mark.size())), "UTF-8");
    if (bytes.startsWith(Utf16LittleMark) || bytes.startsWith(Utf16BigMark))
        return decoded(utf16(bytes.mid(2), bytes.startsWith(Utf16LittleMark)), "UTF-16");
    if (isUtf8(bytes))
        return decoded(QString::fromUtf8(bytes), "UTF-8");
    if (std::optional<QString> text = windows1251(bytes))
        return decoded(std::move(*text), "Windows-1251");
    return {QString(), QStringLiteral("Windows-1251"), false};
}
