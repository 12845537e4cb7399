// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "FolderScanner.h"

#include "FileAttributes.h"
#include "FileExtension.h"
#include "LocalFileModel.h"
#include "PathJoin.h"
#include "SizeFormat.h"
#include "TagColumns.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace mFileAPI
{

bool isVirtualFolder(const QString& folder)
{
    return folder.isEmpty() || folder.startsWith(QLatin1Char(':')) || !QFileInfo(folder).isDir();
}

void FillTagColumns(const QString& path, LocalFileRow& row, const TagColumnReader& reader)
{
    const TagColumns columns = reader ? reader(path) : readTagColumns(path);
    row.title = columns.title;
    row.artist = columns.artist;
    row.genre = columns.genre;
}

std::vector<LocalFileRow> scanFolderRows(const QString& folder, const ScanRule& rule,
                                         const TagColumnReader& reader)
{
    std::vector<LocalFileRow> rows;
    if (isVirtualFolder(folder))
        return rows;
    const QString prefix = AddSlash(QDir::toNativeSeparators(folder));
    const SizeFormatter formatter;
    // Hidden and system entries are enumerated too: the include rule lists them, the except
    // rule turns them away by their attribute word.
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = info.fileName();
        // Only regular files are read: a pipe named like an MP3 file would block the tag reader.
        if (!rule.accepts(name, info.isFile(), attributeWord(info)))
            continue;
        LocalFileRow row;
        row.name = name;
        row.path = prefix + name;
        row.size = info.exists() ? info.size() : -1;
        if (row.hasSize())
            row.sizeText = formatter.format(row.size);
        if (extensionOf(name) == QLatin1String("MP3"))
            FillTagColumns(row.path, row, reader);
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(), [](const LocalFileRow& a, const LocalFileRow& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return rows;
}

void ScanFolder(LocalFileModel& list, const QString& folder, const QString& ext1, const QString& ext2,
                const QString& ext3)
{
    list.setRows(scanFolderRows(folder, ScanRule::include(ext1, ext2, ext3)));
}

void ScanFolderExcept(LocalFileModel& list, const QString& folder, const QString& ext1, const QString& ext2,
                      const QString& ext3)
{
    list.setRows(scanFolderRows(folder, ScanRule::exclude(ext1, ext2, ext3)));
}

void ScanFolderForView(LocalFileModel& list, const QString& folder, ViewTab tab)
{
    list.setRows(scanFolderRows(folder, ScanRule::forView(tab)));
}

} // namespace mFileAPI
