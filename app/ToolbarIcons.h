// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The toolbar's pictures: coloured when the button can be used, grey when it cannot.
#pragma once

#include <QIcon>

class QStyle;

namespace ToolbarIcons
{

// key: "Download", "Upload", "Delete" or "Format".
QIcon icon(const QString& key, const QStyle* style);

} // namespace ToolbarIcons
