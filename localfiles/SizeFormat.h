// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The size text of both file lists and of the selection summary, in the chosen size unit.
#pragma once

#include <QLocale>
#include <QString>

namespace mFileAPI
{

// Size units of the lists: whole bytes, kilobytes, megabytes.
enum SizeUnit : int { UnitByte = 0, UnitKByte = 1, UnitMByte = 2 };

// Formats sizes with one locale's separators. Holding the separators saves a locale look-up
// per text, which matters when a summary is rebuilt for every row of a select-all.
class SizeFormatter
{
public:
    explicit SizeFormatter(const QLocale& locale = QLocale());

    // Unit 0: the exact byte count, digits grouped in threes. Unit 1: kilobytes rounded half
    // away from zero, grouped, " K". Any other unit: megabytes with one decimal, " M".
    QString format(qint64 bytes, int unit = UnitByte) const;

private:
    QString grouped(qint64 value) const;

    QString m_group;
    QString m_decimal;
    QString m_minus;
};

// FormatSize with the default locale.
QString FormatSize(qint64 bytes, int unit = UnitByte);

} // namespace mFileAPI
