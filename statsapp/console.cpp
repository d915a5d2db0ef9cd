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
    // No message holds a NUL, so it is printed whole.
    const bool written = std::fprintf(stream, "%s", text.toUtf8().constData()) >= 0;
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
