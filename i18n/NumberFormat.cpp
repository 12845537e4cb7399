// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/NumberFormat.h"

#include "i18n/NumberPattern.h"

#include <QStringList>

namespace
{

// Splits at ";" outside quotes and escapes.
QStringList splitSections(const QString& pattern)
{
    QStringList sections{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            sections.last() += c;
            sections.last() += pattern[++i];
            continue;
        }
        if (!quoted && c == QLatin1Char(';')) {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

} // namespace

QString FormatNumber(qint64 value, const QString& pattern)
{
    if (pattern.isEmpty())
        return QString::number(value);
    const QStringList sections = splitSections(pattern);
    // Second section: negative values, shown without their sign; third: zero.
    if (value < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        return NumberPattern(sections[1]).format(value, false);
    if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty())
        return NumberPattern(sections[2]).format(value, false);
    return NumberPattern(sections[0]).format(value, true);
}
