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

QString conversionFailureText(const MessageTexts& texts, const ConversionResult& result)
{
    const auto withDetails = [&](const QString& text) {
        return result.error.isEmpty() ? text : text + QLatin1String(" (") + result.error + QLatin1Char(')');
    };
    switch (result.failure) {
    case ConversionFailure::NotAFile:
        return texts.convNotAFile;
    case ConversionFailure::SameFile:
        return texts.convSameFile;
    case ConversionFailure::Unreadable:
        return withDetails(texts.convUnreadable);
    case ConversionFailure::Encoder:
        return withDetails(texts.convEncoder);
    case ConversionFailure::Write:
        return withDetails(texts.convWrite);
    case ConversionFailure::Unavailable:
        return texts.convUnavailable;
    case ConversionFailure::None:
    case ConversionFailure::Cancelled:
        break;
    }
    return result.error;
}
