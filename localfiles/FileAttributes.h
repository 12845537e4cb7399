// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The file attribute word of a folder entry, as Windows reports it and as we map it elsewhere.
#pragma once

#include <QFileInfo>

namespace mFileAPI
{

enum FileAttribute : quint32 {
    AttrReadOnly = 0x1,
    AttrHidden = 0x2,
    AttrSystem = 0x4,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
    AttrNormal = 0x80,
};

// Off Windows: a regular file is archive when the user may write it and read-only when not;
// a name starting with "." adds hidden; anything that is not a regular file reports directory
// (0x10), which no list accepts.
quint32 attributeWord(const QFileInfo& info);

// The same word off Windows from what a folder listing tells (regular file, writable, name).
quint32 attributeWord(bool isRegularFile, bool writable, const QString& name);

} // namespace mFileAPI
