// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Splits a language file's text into items: an item ends at a comma or a line end (CR LF, CR or
// LF); leading blanks are skipped; an item opening with a double quote runs to the next double
// quote, commas and line ends included.
#pragma once

#include <QString>
#include <QStringView>

class LangItemReader
{
public:
    explicit LangItemReader(QStringView text) : m_text(text) {}

    // The next item; false at the end of the text.
    bool next(QString& item);

private:
    bool atLineEnd(qsizetype pos) const;
    // Moves past the delimiter (comma or line end) at m_pos, if any.
    void consumeDelimiter();
    qsizetype findDelimiter(qsizetype from) const;
    qsizetype findLineEnd(qsizetype from) const;

    QStringView m_text;
    qsizetype m_pos = 0;
};
