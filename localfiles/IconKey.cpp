// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/IconKey.h"

namespace mGetFileIcon
{

QString iconKey(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString ext = (dot < 0 ? path : path.mid(dot + 1)).toUpper();
    static const QString ownIcons[] = {QStringLiteral("EXE"), QStringLiteral("ICO"), QStringLiteral("DLL"),
                                       QStringLiteral("OCX")};
    for (const QString& word : ownIcons) {
        if (ext == word)
            return path.toUpper();
    }
    // Character-code order, as a text comparison: "1st" and "0123" fall inside too. The suffix
    // keeps keys from being all digits.
    if (ext >= QLatin1String("000") && ext <= QLatin1String("999"))
        return ext + QLatin1Char('T');
    return ext;
}

} // namespace mGetFileIcon
