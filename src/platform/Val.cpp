#include "platform/Val.h"

#include <cmath>
#include <limits>

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Length of the number that starts at position start, 0 when there is none.
qsizetype NumberLength(const QString& text, qsizetype start) {
    qsizetype i = start;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < n && IsDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        qsizetype expDigits = 0;
        while (j < n && IsDigit(text[j])) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            i = j;
    }
    return i - start;
}

qsizetype SkipBlanks(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// QString::toDouble always reads a decimal point; strtod would follow LC_NUMERIC, which QCoreApplication sets
// from the user's system locale on Unix, so "3.7" read as 3 on a German desktop. Overflow still gives
// +/- infinity and underflow 0.
double Parse(const QString& number) {
    return number.toDouble();
}

} // namespace

double Val(const QString& text) {
    const qsizetype start = SkipBlanks(text);
    const qsizetype length = NumberLength(text, start);
    if (length == 0)
        return 0.0;
    return Parse(text.mid(start, length));
}

int ToInt32(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (value <= lo)
        return std::numeric_limits<int>::min();
    if (value >= hi)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

int ValInt(const QString& text) {
    return ToInt32(Val(text));
}

bool IsNumeric(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    return NumberLength(trimmed, 0) == trimmed.size();
}
