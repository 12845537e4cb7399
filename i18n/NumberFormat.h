// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Spreadsheet-style number format patterns, as language files use them for counts ("Del_Format").
#pragma once

#include <QString>

// Formats value with a pattern of digit placeholders ("0" shows a digit or a zero, "#" a digit
// or nothing), "," (thousands grouping between placeholders; after the last one, a division by
// 1000), "." (decimal point), "%" (percent), quoted "text" or \x literals, and ";" between the
// sections for positive, negative and zero values. Any other character is shown as it stands.
// An empty pattern gives the plain number.
QString FormatNumber(qint64 value, const QString& pattern);
