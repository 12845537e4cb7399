// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The file-type icons of both lists (Sys16, Sys32): one entry per icon key, added on first use.
#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>

class FileIconProvider
{
public:
    // Image index (from 1) of the path's small / large icon; the first look-up of a key adds it.
    qint16 GetICON16(const QString& path);
    qint16 GetICON32(const QString& path);

    // The icon of an index; a null icon for an index never handed out.
    QIcon icon16(int index) const;
    QIcon icon32(int index) const;
    int count16() const { return int(m_sys16.icons.size()); }
    int count32() const { return int(m_sys32.icons.size()); }

    // The icon the desktop shows for a path: the MIME type's theme icon, found by the name
    // alone (the file is not opened, so a look-up never waits on a slow disk), else a generic
    // file icon. Icon files show themselves.
    static QIcon shellIcon(const QString& path);

private:
    struct ImageList {
        QList<QIcon> icons;
        QHash<QString, int> indexOfKey;
    };
    static qint16 lookUp(ImageList& list, const QString& path);

    ImageList m_sys16;
    ImageList m_sys32;
};
