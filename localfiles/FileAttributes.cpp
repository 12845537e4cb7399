// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FileAttributes.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace mFileAPI
{

quint32 attributeWord(const QFileInfo& info)
{
#ifdef Q_OS_WIN
    const DWORD word = GetFileAttributesW(reinterpret_cast<const wchar_t*>(info.filePath().utf16()));
    if (word == INVALID_FILE_ATTRIBUTES)
        return AttrDirectory; // unreadable entries are listed nowhere
    return quint32(word);
#else
    // Symbolic links count by what they point to; sockets, pipes and devices are no files.
    return attributeWord(info.isFile(), info.isWritable(), info.fileName());
#endif
}

quint32 attributeWord(bool isRegularFile, bool writable, const QString& name)
{
    if (!isRegularFile)
        return AttrDirectory;
    quint32 word = writable ? AttrArchive : AttrReadOnly;
    if (name.startsWith(QLatin1Char('.')))
        word |= AttrHidden;
    return word;
}

} // namespace mFileAPI
