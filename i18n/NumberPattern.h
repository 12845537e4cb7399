// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// One section of a number format pattern, split into placeholders and literal text.
#pragma once

#include <QString>

#include <vector>

class NumberPattern
{
public:
    explicit NumberPattern(const QString& section);

    // The value in this pattern. withSign: a negative value gets a leading "-".
    QString format(qint64 value, bool withSign) const;

private:
    enum class Kind { Digit, Point, Comma, Percent, Literal };
    struct Token {
        Kind kind;
        QString text; // the placeholder character, or the literal text
    };

    void tokenise(const QString& section);
    void classifyCommas();
    QString integerDigits(qint64 value, QString& fraction) const;
    QString emitInteger(const QString& digits) const;

    std::vector<Token> m_tokens;
    qsizetype m_pointToken = -1; // index of the decimal point token, -1 when none
    int m_integerPlaceholders = 0;
    int m_fractionPlaceholders = 0;
    int m_percents = 0;
    int m_scalingCommas = 0;
    bool m_grouping = false;
};
