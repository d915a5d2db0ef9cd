#include "delimitedrecords.h"

#include <array>

namespace {

const QChar Quote(QLatin1Char('"'));
const QChar LineFeed(QLatin1Char('\n'));
const QChar Return(QLatin1Char('\r'));

} // namespace

DelimitedRecords::DelimitedRecords(const QString &text, QChar delimiter)
    : text(text), delimiter(delimiter)
{
}

QChar DelimitedRecords::headerDelimiter(const QString &text)
{
    // In order of precedence on a tie: a tab or a semicolon never stands
    // inside a header name by accident, a comma might.
    const std::array<QChar, 3> candidates = {QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    std::array<int, 3> counts {};
    bool quoted = false;
    // The first line with any of them decides: a title typed above the
    // header may hold none.
    for (const QChar c : text) {
        if (c == Quote)
            quoted = !quoted;
        else if (!quoted && (c == LineFeed || c == Return) && counts != std::array<int, 3> {})
            break;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!quoted && c == candidates[i])
                ++counts[i];
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return candidates[best];
}

int DelimitedRecords::fieldEnd(int from) const
{
    // Walked by pointer: every character of a log passes here.
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    const QChar *c = begin + from;
    while (c < end && *c != delimiter && *c != LineFeed && *c != Return)
        ++c;
    return int(c - begin);
}

void DelimitedRecords::skipLineEnd()
{
    if (position >= text.size())
        return;
    if (text.at(position) == Return)
        ++position;
    if (position < text.size() && text.at(position) == LineFeed)
        ++position;
}

void DelimitedRecords::readQuoted(QString *into)
{
    ++position; // the opening quote
    const int size = int(text.size());
    while (position < size) {
        const QChar c = text.at(position++);
        if (c == Quote) {
            if (position < size && text.at(position) == Quote) {
                ++position;
                if (into)
                    into->append(Quote);
                continue;
            }
            break;
        }
        if (into)
            into->append(c);
    }
    // Whatever follows the closing quote up to the delimiter belongs to the
    // field, as spreadsheets read it.
    const int rest = position;
    position = fieldEnd(position);
    if (into)
        into->append(text.mid(rest, position - rest));
}

bool DelimitedRecords::readField(QString *into)
{
    if (position < text.size() && text.at(position) == Quote) {
        readQuoted(into);
        return true;
    }
    const int start = position;
    position = fieldEnd(start);
    const QStringView field = QStringView(text).mid(start, position - start);
    if (into)
        into->append(field.data(), int(field.size()));
    // Most fields start with what they hold; only the rest are trimmed to see.
    return (!field.isEmpty() && !field.front().isSpace()) || !field.trimmed().isEmpty();
}

bool DelimitedRecords::readAll(QStringList &cells)
{
    cells.clear();
    while (!atEnd()) {
        ++record;
        bool anything = false;
        for (;;) {
            QString field;
            anything = readField(&field) || anything;
            cells.append(field);
            if (position >= text.size() || text.at(position) != delimiter)
                break;
            ++position;
        }
        skipLineEnd();
        if (anything)
            return true;
        cells.clear();
    }
    return false;
}

bool DelimitedRecords::read(const QVector<int> &fieldColumns, QVector<QString> &cells)
{
    while (!atEnd()) {
        if (readRecord(fieldColumns, cells))
            return true;
    }
    return false;
}

bool DelimitedRecords::readRecord(const QVector<int> &fieldColumns, QVector<QString> &cells)
{
    ++record;
    // Emptied but not freed: each cell keeps its room for the next row's.
    for (QString &cell : cells)
        cell.resize(0);
    bool anything = false;
    extra = -1;
    for (int field = 0;; ++field) {
        const int slot = field < fieldColumns.size() ? fieldColumns.at(field) : -1;
        if (field == fieldColumns.size())
            extra = field;
        if (readField(slot >= 0 ? &cells[slot] : nullptr))
            anything = true;
        if (position >= text.size() || text.at(position) != delimiter)
            break;
        ++position;
    }
    skipLineEnd();
    return anything;
}
