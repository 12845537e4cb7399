// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/SizeFormat.h"

#include <cmath>
#include <cstdlib>

namespace mFileAPI
{

SizeFormatter::SizeFormatter(const QLocale& locale)
    : m_group(locale.groupSeparator()), m_decimal(locale.decimalPoint()), m_minus(locale.negativeSign())
{
}

QString SizeFormatter::grouped(qint64 value) const
{
    // Digits are produced by hand: QLocale omits grouping in the C locale, and the lists
    // always group in threes whatever the locale says about its own number style.
    const bool negative = value < 0;
    quint64 magnitude = negative ? 0 - quint64(value) : quint64(value);
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    QString text;
    text.reserve(count + count / 3 * m_group.size() + 1);
    if (negative)
        text += m_minus;
    for (int i = count - 1; i >= 0; --i) {
        text += QLatin1Char(digits[i]);
        if (i > 0 && i % 3 == 0)
            text += m_group;
    }
    return text;
}

QString SizeFormatter::format(qint64 bytes, int unit) const
{
    if (unit == UnitByte)
        return grouped(bytes);
    if (unit == UnitKByte)
        return grouped(std::llround(double(bytes) / 1024.0)) + QLatin1String(" K");
    const qint64 tenths = std::llround(double(bytes) / (1024.0 * 1024.0) * 10.0);
    QString text = grouped(tenths / 10);
    if (tenths < 0 && tenths > -10)
        text.prepend(m_minus); // -0.x keeps its sign
    return text + m_decimal + QLatin1Char(char('0' + std::llabs(tenths % 10))) + QLatin1String(" M");
}

QString FormatSize(qint64 bytes, int unit)
{
    return SizeFormatter().format(bytes, unit);
}

} // namespace mFileAPI
