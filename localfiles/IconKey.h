// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The key under which a file's icon is kept: one per file type, one per file for files that
// carry their own icon.
#pragma once

#include <QString>

namespace mGetFileIcon
{

// ext := text after the last point of the whole path, upper-cased (the whole path without a
// point). EXE, ICO, DLL, OCX: the whole path upper-cased. "000".."999": ext + "T". Else ext.
QString iconKey(const QString& path);

} // namespace mGetFileIcon
