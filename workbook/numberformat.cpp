#include "numberformat.h"

bool NumberFormat::isBuiltInDate(int id)
{
    // 14-17 dates, 22 date and time; 18-21 and 45-47 are times alone.
    // East Asian: 27-31, 36 and 50-54, 57, 58 dates; 32-35, 55, 56 times.
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 31) || id == 36
        || (id >= 50 && id <= 54) || id == 57 || id == 58;
}

bool NumberFormat::isDateCode(QStringView code)
{
    bool quoted = false;
    bool bracketed = false;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (quoted) {
            quoted = c != QLatin1Char('"');
        } else if (bracketed) {
            bracketed = c != QLatin1Char(']');
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('[')) {
            bracketed = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i; // the next character is shown as it is, or stands for a width
        } else {
            const char16_t lower = c.toLower().unicode();
            if (lower == u'd' || lower == u'y')
                return true;
        }
    }
    return false;
}
