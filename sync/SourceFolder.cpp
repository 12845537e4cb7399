// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SourceFolder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace SourceFolder
{

bool before(const QString& a, const QString& b)
{
    const QStringList left = a.split(QLatin1Char('/'));
    const QStringList right = b.split(QLatin1Char('/'));
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (const int c = left[i].compare(right[i], Qt::CaseInsensitive); c != 0)
            return c < 0;
        if (const int c = left[i].compare(right[i], Qt::CaseSensitive); c != 0)
            return c < 0;
    }
    return left.size() < right.size();
}

std::vector<SourceFile> scan(const QString& folder, QStringList* unreadable,
                             const std::function<bool()>& stopped)
{
    std::vector<SourceFile> files;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    std::size_t seen = 0;
    while (it.hasNext()) {
        if (stopped && ++seen % 64 == 0 && stopped())
            return files;
        const QFileInfo info = it.nextFileInfo();
        // QDir::Files without QDir::System already leaves FIFOs, sockets and devices out.
        if (!info.isFile() || !info.isReadable()) {
            if (unreadable)
                unreadable->append(root.relativeFilePath(info.filePath()));
            continue;
        }
        SourceFile file;
        file.path = info.absoluteFilePath();
        file.relativePath = root.relativeFilePath(file.path);
        file.name = info.fileName();
        file.size = info.size();
        file.modified = info.lastModified().toMSecsSinceEpoch();
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) {
        return before(a.relativePath, b.relativePath);
    });
    return files;
}

} // namespace SourceFolder
