#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cmath>

// Small helpers for the fixed-column text files (log, multiplier files): cut a field by its
// column, trim its blanks, read its numeric value.
namespace tv::fixedtext {

// True when the text is one digit "0"-"9" or more, and nothing else.
inline bool isDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The bytes of columns [column, column + width), columns counted from 1; cut to what the
// line holds (empty when the line ends before the column).
inline QByteArray mid(const QByteArray& line, int column, int width)
{
    const qsizetype at = column - 1;
    if (at < 0 || at >= line.size() || width <= 0)
        return {};
    return line.mid(at, width);
}

// The byte at a column (counted from 1), or 0 when the line ends before it.
inline char at(const QByteArray& line, int column)
{
    const qsizetype i = column - 1;
    return i >= 0 && i < line.size() ? line[i] : '\0';
}

// Leading and trailing spaces removed (spaces only: other bytes are part of the field).
inline QByteArray trimSpaces(const QByteArray& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.mid(begin, end - begin);
}

inline QByteArray field(const QByteArray& line, int column, int width)
{
    return trimSpaces(mid(line, column, width));
}

// The same as field(), as a view into the line (no copy).
inline QByteArrayView fieldView(QByteArrayView line, int column, int width)
{
    const qsizetype at = column - 1;
    if (at < 0 || at >= line.size() || width <= 0)
        return {};
    QByteArrayView v = line.sliced(at, std::min<qsizetype>(width, line.size() - at));
    while (!v.isEmpty() && v.front() == ' ')
        v = v.sliced(1);
    while (!v.isEmpty() && v.back() == ' ')
        v.chop(1);
    return v;
}

// The value of a one-character mark: its digit, 0 for any other byte.
inline int markValue(char mark)
{
    return mark >= '0' && mark <= '9' ? mark - '0' : 0;
}

// The number a text begins with, as the log's readers take it: blanks are skipped, then an
// optional sign, digits, a decimal point and digits, an exponent; reading stops at the first
// other byte. Text that does not begin with a number is 0. Never fails.
// `*numeric` (when given) tells whether the text held a number at all (blank text does not).
inline double numericValue(const QByteArray& text, bool* numeric = nullptr)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
            ++i;
    };
    skipBlanks();
    double sign = 1;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
        skipBlanks();
    }
    double value = 0;
    bool digits = false;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        digits = true;
        ++i;
        skipBlanks();
    }
    if (i < n && text[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            value += (text[i] - '0') * scale;
            scale /= 10;
            digits = true;
            ++i;
            skipBlanks();
        }
    }
    if (digits && i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        qsizetype j = i + 1;
        int expSign = 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            expSign = text[j] == '-' ? -1 : 1;
            ++j;
        }
        int exponent = 0;
        bool expDigits = false;
        while (j < n && text[j] >= '0' && text[j] <= '9' && exponent < 400) {
            exponent = exponent * 10 + (text[j] - '0');
            expDigits = true;
            ++j;
        }
        if (expDigits)
            value *= std::pow(10.0, expSign * exponent);
    }
    if (numeric)
        *numeric = digits;
    if (!std::isfinite(value))
        return 0;
    return sign * value;
}

} // namespace tv::fixedtext
