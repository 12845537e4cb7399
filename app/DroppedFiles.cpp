// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/DroppedFiles.h"

#include "localfiles/FileAttributes.h"
#include "localfiles/FileExtension.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/SizeFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

DroppedFiles DroppedFiles::from(const QList<QUrl>& urls, mFileAPI::ViewTab view)
{
    DroppedFiles files;
    const mFileAPI::ScanRule rule = mFileAPI::ScanRule::forView(view);
    const mFileAPI::SizeFormatter formatter;
    QSet<QString> seen;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        const QString path = QDir::toNativeSeparators(info.absoluteFilePath());
        if (seen.contains(path))
            continue;
        seen.insert(path);
        if (!rule.accepts(info.fileName(), info.isFile(), mFileAPI::attributeWord(info))) {
            files.refused << info.fileName();
            continue;
        }
        LocalFileRow row;
        row.name = info.fileName();
        row.path = path;
        row.size = info.size();
        row.sizeText = formatter.format(row.size);
        if (mFileAPI::hasTagColumns(row.name))
            mFileAPI::FillTagColumns(row.path, row);
        files.rows.push_back(std::move(row));
    }
    return files;
}
