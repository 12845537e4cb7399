// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The key a text column of the local list sorts by.
#pragma once

#include <QString>

namespace mFileAPI
{

// The text case-folded, made once per row rather than on every comparison. A text that folds to
// itself (most file names) shares its characters with the key, so the key costs no memory.
inline QString sortKey(const QString& text)
{
    return text.toCaseFolded();
}

} // namespace mFileAPI
