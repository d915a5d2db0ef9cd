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

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

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

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    QString text
        = QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), int(bytes.size()), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return std::nullopt;
    return text;
}

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
    if (std::optional<QString> text = strictUtf8(bytes))
        return decoded(std::move(*text), "UTF-8");
    if (std::optional<QString> text = windows1251(bytes))
        return decoded(std::move(*text), "Windows-1251");
    return {QString(), QStringLiteral("Windows-1251"), false};
}
