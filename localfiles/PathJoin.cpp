// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/PathJoin.h"

#include <QDir>

namespace mFileAPI
{

QString AddSlash(const QString& path)
{
    const QChar separator = QDir::separator();
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

} // namespace mFileAPI
