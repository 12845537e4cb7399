// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "cli/CliPrompt.h"

#include <cstdio>
#include <unistd.h>

namespace
{
// Message texts carry CR LF line breaks from the language files.
QString plain(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
} // namespace

bool CliPrompt::askYesNo(const QString& text, const QString& title)
{
    Q_UNUSED(title);
    if (m_answer != Answer::Ask)
        return m_answer == Answer::Yes;
    if (m_unanswered || !isatty(STDIN_FILENO))
        return giveUp(text);
    for (;;) {
        m_err << plain(text) << " [y/n] " << Qt::flush;
        char line[64];
        if (!std::fgets(line, sizeof line, stdin))
            return giveUp(text);
        const char c = line[0];
        if (c == 'y' || c == 'Y')
            return true;
        if (c == 'n' || c == 'N')
            return false;
    }
}

bool CliPrompt::giveUp(const QString& text)
{
    if (!m_unanswered)
        m_unanswered = plain(text);
    return false;
}

void CliPrompt::showMessage(const QString& text, const QString& title, Icon icon)
{
    Q_UNUSED(title);
    Q_UNUSED(icon);
    m_err << plain(text) << '\n' << Qt::flush;
}
