#include "logcells.h"

#include "diameter.h"
#include "plainnumber.h"

#include <QStringList>

QString comparableText(const QString &text)
{
    QString key = text.toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QLatin1Char('\t'));
    key.remove(QChar(0x00A0));
    return key;
}

std::optional<double> readLogDiameter(const QString &cell)
{
    // The calculator's own reading and range, so that a log's diameter means
    // what the same text typed into the calculator means.
    return readDiameter(cell.trimmed());
}

bool isLogDiameter(const QString &cell)
{
    // Three diameters a row: the plain forms are judged without a copy.
    // Below a whole millimetre the fraction decides, which the slow reading sees.
    if (const auto plain = readPlainNumber(QStringView(cell).trimmed(), true);
        plain && plain->whole >= 1) {
        static_assert(SmallestDiameter <= 1.0, "a whole millimetre is a diameter");
        const qint64 max = qint64(LargestDiameter);
        return plain->whole < max || (plain->whole == max && plain->fractionZero);
    }
    return readLogDiameter(cell).has_value();
}

DiameterForm diameterForm(const QString &cell)
{
    DiameterForm form;
    const QStringView text = QStringView(cell).trimmed();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('.') || text.at(i) == QLatin1Char(',')) {
            form.mark = text.at(i) == QLatin1Char('.') ? DecimalMark::Point : DecimalMark::Comma;
            form.decimals = int(text.size() - i - 1);
            break;
        }
    }
    return form;
}

namespace {

// The unit of a sheath cell, before or after its sizes, taken off the key.
void dropSheathUnit(QString &key)
{
    // "Сн" typed on a Russian keyboard looks like "Ch".
    key.replace(QChar(0x0441), QLatin1Char('c'));
    key.replace(QChar(0x043D), QLatin1Char('h'));
    for (const char *unit : {"ch", "fr"}) {
        const QLatin1String name(unit);
        if (key.endsWith(name))
            key.chop(name.size());
        else if (key.startsWith(name))
            key.remove(0, name.size());
    }
}

} // namespace

std::optional<SheathSize> readLogSheath(const QString &cell)
{
    // The interface's own names first: nearly every row of a log holds one.
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        if (cell == sheathName(sheath))
            return sheath;
    }
    QString key = comparableText(cell);
    dropSheathUnit(key);
    key.replace(QLatin1Char('/'), QLatin1Char('-'));
    key.replace(QChar(0x2013), QLatin1Char('-')); // an en dash, as word processors correct it
    if (key == QLatin1String("10-12"))
        return SheathSize::Ch10To12;
    if (key == QLatin1String("12-14"))
        return SheathSize::Ch12To14;
    return std::nullopt;
}

std::optional<bool> readLogYesNo(const QString &cell)
{
    // Compared in place: two of these cells in every row.
    const QStringView key = QStringView(cell).trimmed();
    const auto is = [key](QStringView word) {
        return key.size() == word.size() && key.compare(word, Qt::CaseInsensitive) == 0;
    };
    if (is(u"да") || is(u"yes") || is(u"1") || is(u"истина") || is(u"true") || is(u"+"))
        return true;
    // A minus sign, a hyphen or an en dash: whichever the keyboard gave.
    if (is(u"нет") || is(u"no") || is(u"0") || is(u"ложь") || is(u"false") || is(u"\u2212")
        || is(u"-") || is(u"\u2013"))
        return false;
    return std::nullopt;
}

namespace {

// A run of 1 to maxDigits digits from position, or -1; position moves past it.
int number(const QString &text, int &position, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (position < text.size() && digits < maxDigits && text.at(position).isDigit()
           && text.at(position).unicode() < 128) {
        value = value * 10 + (text.at(position++).unicode() - '0');
        ++digits;
    }
    return digits > 0 ? value : -1;
}

bool separator(const QString &text, int &position, char mark)
{
    if (position >= text.size() || text.at(position) != QLatin1Char(mark))
        return false;
    ++position;
    return true;
}

} // namespace

namespace {

struct DateForm {
    int year = 0;
    int month = 0;
    int day = 0;
};

// The day, month and year as written, or nothing for text of another form.
std::optional<DateForm> dateForm(const QString &cell)
{
    const QString text = cell.trimmed();
    int position = 0;
    const int first = number(text, position, 4);
    if (first < 0)
        return std::nullopt;
    DateForm form;
    if (position == 4 && separator(text, position, '-')) { // yyyy-mm-dd
        form.year = first;
        form.month = number(text, position, 2);
        if (position != 7 || !separator(text, position, '-'))
            return std::nullopt;
        form.day = number(text, position, 2);
        if (position != 10)
            return std::nullopt;
    } else if (position <= 2 && separator(text, position, '.')) { // d.m.yyyy or d.m.yy
        form.day = first;
        form.month = number(text, position, 2);
        const int yearStart = position + 1;
        if (form.month < 0 || !separator(text, position, '.'))
            return std::nullopt;
        form.year = number(text, position, 4);
        const int yearDigits = position - yearStart;
        if (yearDigits == 2)
            form.year += 2000; // a spreadsheet's short date: no procedure predates 2000
        else if (yearDigits != 4)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (position != text.size())
        return std::nullopt;
    return form;
}

} // namespace

// Read by hand rather than by QDate::fromString, whose parser consults the
// system's time zone files on every call: a million rows took minutes.
std::optional<QDate> readLogDate(const QString &cell)
{
    const std::optional<DateForm> form = dateForm(cell);
    if (!form)
        return std::nullopt;
    const QDate date(form->year, form->month, form->day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool hasLogDateForm(const QString &cell)
{
    return dateForm(cell).has_value();
}

int lastLogYear()
{
    return QDate::currentDate().year() + 1;
}

bool isLogYear(int year)
{
    return year >= FirstLogYear && year <= lastLogYear();
}
