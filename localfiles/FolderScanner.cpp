// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "FolderScanner.h"

#include "FileAttributes.h"
#include "FileExtension.h"
#include "LocalFileModel.h"
#include "LocalPath.h"
#include "PathJoin.h"
#include "SizeFormat.h"
#include "TagColumns.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mFileAPI
{

bool isVirtualFolder(const QString& folder)
{
    return folder.isEmpty() || folder.startsWith(QLatin1Char(':')) || !LocalPath::isFolder(folder);
}

void FillTagColumns(const QString& path, LocalFileRow& row, const TagColumnReader& reader)
{
    const TagColumns columns = reader ? reader(path) : readTagColumns(path);
    row.title = columns.title;
    row.artist = columns.artist;
    row.genre = columns.genre;
}

namespace
{

// One entry as the listing saw it, before the rule and the tag columns.
struct Entry {
    QString name;
    bool isFile = false;
    quint32 attributes = AttrDirectory;
    qint64 size = -1;
};

// Calls take(entry) for every entry of the folder. Off Windows names are bytes: each is read as
// text by the one rule our opens map back (LocalPath); one that cannot be read goes to
// refuse(entry with a lossy name, why), so the caller can say which file it left out.
template <class Take, class Refuse> void listFolder(const QString& folder, Take take, Refuse refuse)
{
#ifdef Q_OS_UNIX
    const QByteArray native = LocalPath::encode(folder);
    DIR* dir = ::opendir(native.constData());
    if (!dir)
        return;
    const int fd = ::dirfd(dir);
    while (const dirent* found = ::readdir(dir)) {
        const QByteArrayView raw(found->d_name);
        if (raw == "." || raw == "..")
            continue;
        Entry entry;
        // Symbolic links count by what they point to; sockets, pipes and devices are no files.
        struct stat status {};
        if (::fstatat(fd, found->d_name, &status, 0) == 0 && S_ISREG(status.st_mode)) {
            entry.isFile = true;
            entry.size = status.st_size;
        }
        QString why;
        const std::optional<QString> name = LocalPath::decodeEntryName(native, raw, &why);
        entry.name = name ? *name : QString::fromLocal8Bit(raw);
        const bool writable = entry.isFile && ::faccessat(fd, found->d_name, W_OK, 0) == 0;
        entry.attributes = attributeWord(entry.isFile, writable, entry.name);
        if (name)
            take(entry);
        else
            refuse(entry, LocalPath::escaped(raw) + QLatin1String(": ") + why);
    }
    ::closedir(dir);
#else
    Q_UNUSED(refuse);
    // Hidden and system entries are enumerated too: the include rule lists them, the except
    // rule turns them away by their attribute word.
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        take(Entry{info.fileName(), info.isFile(), attributeWord(info), info.exists() ? info.size() : -1});
    }
#endif
}

} // namespace

std::vector<LocalFileRow> scanFolderRows(const QString& folder, const ScanRule& rule,
                                         const TagColumnReader& reader, QStringList* refused)
{
    std::vector<LocalFileRow> rows;
    if (isVirtualFolder(folder))
        return rows;
    const QString prefix = AddSlash(QDir::toNativeSeparators(folder));
    const SizeFormatter formatter;
    const auto take = [&](const Entry& entry) {
        // Only regular files are read: a pipe named like an MP3 file would block the tag reader.
        if (!rule.accepts(entry.name, entry.isFile, entry.attributes))
            return;
        LocalFileRow row;
        row.name = entry.name;
        row.path = prefix + entry.name;
        row.size = entry.size;
        if (row.hasSize())
            row.sizeText = formatter.format(row.size);
        if (extensionOf(entry.name) == QLatin1String("MP3"))
            FillTagColumns(row.path, row, reader);
        rows.push_back(std::move(row));
    };
    // Only files this list would have shown are worth a word.
    const auto refuse = [&](const Entry& entry, const QString& why) {
        if (refused && rule.accepts(entry.name, entry.isFile, entry.attributes))
            refused->append(why);
    };
    listFolder(folder, take, refuse);
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

void ScanFolderForView(LocalFileModel& list, const QString& folder, ViewTab tab, QStringList* refused)
{
    list.setRows(scanFolderRows(folder, ScanRule::forView(tab), {}, refused));
}

} // namespace mFileAPI
