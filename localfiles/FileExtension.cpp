// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FileExtension.h"

namespace mFileAPI
{

QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.mid(dot + 1)).toUpper();
}

bool isMp3Name(const QString& name)
{
    return name.endsWith(QLatin1String("MP3"), Qt::CaseInsensitive);
}

bool isMusicName(const QString& name)
{
    return isMp3Name(name) || name.endsWith(QLatin1String("WMA"), Qt::CaseInsensitive);
}

} // namespace mFileAPI
