// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Joining folders and file names with the platform's separator.
#pragma once

#include <QString>

namespace mFileAPI
{

// The path with the native separator appended unless it already ends in one; an empty path
// gives the separator alone.
QString AddSlash(const QString& path);

} // namespace mFileAPI
