// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/FailureMessage.h"

QString failureMessage(const MessageTexts& texts, const QString& name, const QString& reason,
                       int notTransferred, int total, bool receiving)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = (receiving ? texts.recvFail : texts.sendFail) + crlf + name;
    if (!reason.isEmpty())
        text += crlf + QLatin1Char('(') + reason + QLatin1Char(')');
    text += crlf + QString(receiving ? texts.notReceived : texts.notSent).arg(notTransferred).arg(total);
    return text;
}
