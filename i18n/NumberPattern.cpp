// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/NumberPattern.h"

#include <algorithm>
#include <cmath>

NumberPattern::NumberPattern(const QString& section)
{
    tokenise(section);
    classifyCommas();
}

void NumberPattern::tokenise(const QString& section)
{
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            m_tokens.push_back({Kind::Digit, QString(c)});
        } else if (c == QLatin1Char('.') && m_pointToken < 0) {
            m_pointToken = static_cast<qsizetype>(m_tokens.size());
            m_tokens.push_back({Kind::Point, QString(c)});
        } else if (c == QLatin1Char(',')) {
            m_tokens.push_back({Kind::Comma, QString(c)});
        } else if (c == QLatin1Char('%')) {
            ++m_percents;
            m_tokens.push_back({Kind::Percent, QString(c)});
        } else if (c == QLatin1Char('"')) {
            const qsizetype close = section.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? section.size() : close;
            m_tokens.push_back({Kind::Literal, section.mid(i + 1, end - i - 1)});
            i = end;
        } else if (c == QLatin1Char('\\') && i + 1 < section.size()) {
            m_tokens.push_back({Kind::Literal, QString(section[++i])});
        } else {
            m_tokens.push_back({Kind::Literal, QString(c)});
        }
    }
}

// A comma between integer placeholders turns on grouping; commas right after the last integer
// placeholder divide by 1000 each; any other comma is plain text.
void NumberPattern::classifyCommas()
{
    const qsizetype tokenCount = static_cast<qsizetype>(m_tokens.size());
    const qsizetype integerEnd = m_pointToken < 0 ? tokenCount : m_pointToken;
    qsizetype firstDigit = -1, lastDigit = -1, lastAnyDigit = -1;
    for (qsizetype i = 0; i < tokenCount; ++i) {
        if (m_tokens[i].kind != Kind::Digit)
            continue;
        lastAnyDigit = i;
        if (i < integerEnd) {
            ++m_integerPlaceholders;
            firstDigit = firstDigit < 0 ? i : firstDigit;
            lastDigit = i;
        } else {
            ++m_fractionPlaceholders;
        }
    }
    // Commas right after the last fraction placeholder ("0.0,") scale as well.
    if (lastAnyDigit >= integerEnd) {
        for (qsizetype i = lastAnyDigit + 1; i < tokenCount && m_tokens[i].kind == Kind::Comma; ++i) {
            ++m_scalingCommas;
            m_tokens[i].text.clear();
        }
    }
    for (qsizetype i = 0; i < integerEnd; ++i) {
        Token& token = m_tokens[i];
        if (token.kind != Kind::Comma)
            continue;
        if (firstDigit >= 0 && i > firstDigit && i < lastDigit) {
            m_grouping = true;
            token.text.clear();
        } else if (lastDigit >= 0 && i > lastDigit) {
            bool onlyCommasBetween = true;
            for (qsizetype j = lastDigit + 1; j < i; ++j)
                onlyCommasBetween = onlyCommasBetween && m_tokens[j].kind == Kind::Comma;
            if (onlyCommasBetween) {
                ++m_scalingCommas;
                token.text.clear();
            }
        }
    }
}

// The value's integer digits ("" for zero, so "#" shows nothing) and its fraction digits.
QString NumberPattern::integerDigits(qint64 value, QString& fraction) const
{
    QString digits;
    if (m_percents == 0 && m_scalingCommas == 0) {
        // Exact for every 64-bit value: no floating point involved.
        const quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        digits = QString::number(magnitude);
        fraction = QString(m_fractionPlaceholders, QLatin1Char('0'));
    } else {
        const double scaled = std::fabs(static_cast<double>(value)) * std::pow(100.0, m_percents) /
                              std::pow(1000.0, m_scalingCommas);
        const QString fixed = QString::number(scaled, 'f', m_fractionPlaceholders);
        const qsizetype point = fixed.indexOf(QLatin1Char('.'));
        digits = point < 0 ? fixed : fixed.left(point);
        fraction = point < 0 ? QString() : fixed.mid(point + 1);
    }
    return digits == QLatin1String("0") ? QString() : digits;
}

QString NumberPattern::emitInteger(const QString& digits) const
{
    // Digits fill the placeholders from the right; the leftmost placeholder takes any extra ones.
    const int count = static_cast<int>(digits.size());
    const int shown = std::max(count, m_integerPlaceholders);
    QString out;
    int placeholder = 0;
    int position = shown; // position, counted from the right, of the next digit written
    const qsizetype end = m_pointToken < 0 ? static_cast<qsizetype>(m_tokens.size()) : m_pointToken;
    for (qsizetype i = 0; i < end; ++i) {
        const Token& token = m_tokens[i];
        if (token.kind != Kind::Digit) {
            out += token.text;
            continue;
        }
        const int width = placeholder == 0 ? shown - m_integerPlaceholders + 1 : 1;
        ++placeholder;
        for (int s = 0; s < width; ++s, --position) {
            if (position <= count)
                out += digits[count - position];
            else if (token.text == QLatin1String("0"))
                out += QLatin1Char('0');
            else
                continue;
            if (m_grouping && position > 1 && (position - 1) % 3 == 0)
                out += QLatin1Char(',');
        }
    }
    return out;
}

QString NumberPattern::format(qint64 value, bool withSign) const
{
    QString fraction;
    const QString digits = integerDigits(value, fraction);
    QString out = withSign && value < 0 ? QStringLiteral("-") : QString();
    if (m_integerPlaceholders > 0 || m_pointToken < 0) {
        out += emitInteger(digits);
    } else {
        for (qsizetype i = 0; i < m_pointToken; ++i)
            out += m_tokens[i].text;
        out += digits; // patterns such as ".00" still show the whole part
    }
    if (m_pointToken < 0)
        return out;
    // Fraction: "0" always shows its digit, "#" drops trailing zeros.
    qsizetype lastSignificant = fraction.size() - 1;
    while (lastSignificant >= 0 && fraction[lastSignificant] == QLatin1Char('0'))
        --lastSignificant;
    int fractionIndex = 0;
    for (qsizetype i = m_pointToken; i < static_cast<qsizetype>(m_tokens.size()); ++i) {
        const Token& token = m_tokens[i];
        if (token.kind != Kind::Digit) {
            out += token.text;
            continue;
        }
        const QChar digit = fractionIndex < fraction.size() ? fraction[fractionIndex] : QLatin1Char('0');
        if (token.text == QLatin1String("0") || fractionIndex <= lastSignificant)
            out += digit;
        ++fractionIndex;
    }
    return out;
}
