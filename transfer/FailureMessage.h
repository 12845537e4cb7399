// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The message after a transfer stopped on a failure: which file, why (when known), how many
// files did not arrive.
#pragma once

#include <QString>

// "<lead>\r\n<name>[\r\n<reason>]\r\n<n> of <total> files were not sent|received."
QString failureMessage(const QString& lead, const QString& name, const QString& reason, int notTransferred,
                       int total, bool receiving);
