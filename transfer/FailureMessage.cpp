// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "FailureMessage.h"

QString failureMessage(const QString& lead, const QString& name, const QString& reason, int notTransferred,
                       int total, bool receiving)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = lead + crlf + name;
    if (!reason.isEmpty())
        text += crlf + QLatin1Char('(') + reason + QLatin1Char(')');
    text += crlf + QStringLiteral("%1 of %2 files were not %3.")
                       .arg(notTransferred)
                       .arg(total)
                       .arg(receiving ? QLatin1String("received") : QLatin1String("sent"));
    return text;
}
