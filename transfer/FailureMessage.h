// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The message after a transfer stopped on a failure: which file, why (when known), how many
// files did not arrive.
#pragma once

#include "convert/Mp3Converter.h"
#include "i18n/MessageTexts.h"

#include <QString>

// "<SendFail|RecvFail>\r\n<name>[\r\n(<reason>)]\r\n<NotSent|NotReceived with the counts>", in the
// language of texts.
QString failureMessage(const MessageTexts& texts, const QString& name, const QString& reason,
                       int notTransferred, int total, bool receiving);

// Why a conversion to MP3 failed, in the language of texts. Where the cause lies in the file or
// the disk, the converter's own details follow in parentheses (they name the codec or the
// system's error, which have no translation of ours).
QString conversionFailureText(const MessageTexts& texts, const ConversionResult& result);
