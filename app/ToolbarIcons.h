// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The toolbar's pictures: the desktop theme's icons where it has them, the style's otherwise.
#pragma once

#include <QIcon>

class QStyle;

namespace ToolbarIcons
{

// key: "Download", "Upload", "Delete" or "Format".
QIcon icon(const QString& key, const QStyle* style);

} // namespace ToolbarIcons
