// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The extension rules that decide which list a file belongs to and which files carry a title block.
#pragma once

#include <QString>

namespace mFileAPI
{

// The text after the last dot, upper-cased; a name without a dot is its own extension.
QString extensionOf(const QString& name);

// True when the name ends in "MP3" or "WMA", in any letter case: the files that get an LCD title.
bool isMusicName(const QString& name);

// True when the name ends in "MP3" in any letter case: the files whose MPEG header is analysed.
bool isMp3Name(const QString& name);

} // namespace mFileAPI
