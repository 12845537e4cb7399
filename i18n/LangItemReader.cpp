// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/LangItemReader.h"

namespace
{
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

bool LangItemReader::atLineEnd(qsizetype pos) const
{
    return pos < m_text.size() && (m_text[pos] == QLatin1Char('\r') || m_text[pos] == QLatin1Char('\n'));
}

qsizetype LangItemReader::findDelimiter(qsizetype from) const
{
    qsizetype pos = from;
    while (pos < m_text.size() && m_text[pos] != QLatin1Char(',') && !atLineEnd(pos))
        ++pos;
    return pos;
}

qsizetype LangItemReader::findLineEnd(qsizetype from) const
{
    qsizetype pos = from;
    while (pos < m_text.size() && !atLineEnd(pos))
        ++pos;
    return pos;
}

void LangItemReader::consumeDelimiter()
{
    if (m_pos >= m_text.size())
        return;
    if (m_text[m_pos] == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
        m_text[m_pos + 1] == QLatin1Char('\n'))
        m_pos += 2;
    else
        ++m_pos;
}

bool LangItemReader::next(QString& item)
{
    if (m_pos >= m_text.size())
        return false;
    while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
        ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('"')) {
        const qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos + 1);
        if (close >= 0) {
            item = m_text.mid(m_pos + 1, close - m_pos - 1).toString();
            // Whatever stands between the closing quote and the delimiter is not part of the item.
            m_pos = findDelimiter(close + 1);
            consumeDelimiter();
            return true;
        }
        // An unclosed quote ends with its line rather than swallowing the rest of the file.
        const qsizetype end = findLineEnd(m_pos + 1);
        item = m_text.mid(m_pos + 1, end - m_pos - 1).toString();
        m_pos = end;
        consumeDelimiter();
        return true;
    }
    const qsizetype end = findDelimiter(m_pos);
    qsizetype last = end;
    // Trailing blanks do not count, so a header line with blanks after it is still a header.
    while (last > m_pos && isBlank(m_text[last - 1]))
        --last;
    item = m_text.mid(m_pos, last - m_pos).toString();
    m_pos = end;
    consumeDelimiter();
    return true;
}
