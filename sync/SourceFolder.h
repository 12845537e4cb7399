// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The files of a folder to sync, its subfolders included, in folder order.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct SourceFile {
    QString relativePath; // from the synced folder, with "/" between folders
    QString path;         // absolute
    QString name;         // file name only
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch (UTC)
};

namespace SourceFolder
{

// Regular files only (no FIFOs, devices or hidden files; symbolic links to folders are not
// followed, so a link loop cannot make the walk endless). Ordered folder by folder, each name
// compared without regard to letter case. Names that cannot be read are reported in `unreadable`.
// `stopped` is polled now and then; when it says so the walk ends early with what it found.
std::vector<SourceFile> scan(const QString& folder, QStringList* unreadable = nullptr,
                             const std::function<bool()>& stopped = {});

// Folder order of two relative paths: component by component, ignoring letter case.
bool before(const QString& a, const QString& b);

} // namespace SourceFolder
