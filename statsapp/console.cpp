#include "console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool print(std::FILE *stream, const QString &text)
{
#ifdef Q_OS_WIN
    static const bool utf8Console = SetConsoleOutputCP(CP_UTF8) != 0;
    Q_UNUSED(utf8Console)
#endif
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream)
        == std::size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

} // namespace

bool printOut(const QString &text)
{
    return print(stdout, text);
}

bool printError(const QString &text)
{
    return print(stderr, text);
}
