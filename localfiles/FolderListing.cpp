// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FolderListing.h"

#include "core/LocalPath.h"
#include "localfiles/FileAttributes.h"
#include "localfiles/PathJoin.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <optional>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mFileAPI
{

namespace
{

bool isVirtual(const QString& folder)
{
    return folder.isEmpty() || folder.startsWith(QLatin1Char(':'));
}

// The row of a file the rule accepted, its size still unread.
LocalFileRow listedRow(const QString& prefix, const QString& name)
{
    LocalFileRow row;
    row.name = name;
    row.path = prefix + name;
    row.pending = true;
    return row;
}

#ifdef Q_OS_UNIX

// Whether the entry is a regular file, following symbolic links; asks the file system only
// when the folder listing does not tell.
bool isRegularFile(int folder, const dirent* entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false; // folders, pipes, devices, sockets: no look-up, and never opened
    struct stat status {
    };
    return ::fstatat(folder, entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

// The attribute word of a regular file: archive when the user may write it, else read-only;
// hidden for a name starting with a point.
quint32 attributeWordAt(int folder, const char* name)
{
    quint32 word = ::faccessat(folder, name, W_OK, 0) == 0 ? AttrArchive : AttrReadOnly;
    if (name[0] == '.')
        word |= AttrHidden;
    return word;
}

#endif

} // namespace

#ifdef Q_OS_UNIX

// The folder, opened once: every entry is then examined relative to it, without the kernel
// walking the folder's whole path again for each file.
struct FolderListing::Reader {
    ScanRule rule;
    QString prefix;
    QByteArray native;
    DIR* dir = nullptr;
    bool ended = false;

    Reader(const QString& folder, const ScanRule& scanRule)
        : rule(scanRule), prefix(AddSlash(QDir::toNativeSeparators(folder))),
          native(LocalPath::encode(folder))
    {
        dir = ::opendir(native.constData());
        ended = dir == nullptr;
    }
    ~Reader()
    {
        if (dir)
            ::closedir(dir);
    }

    // The next accepted entry's row, or nothing at the end of the folder.
    bool read(std::vector<LocalFileRow>& rows, QStringList* refused, const RowHook& hook)
    {
        const int fd = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            const char* bytes = entry->d_name;
            if (bytes[0] == '.' && (bytes[1] == 0 || (bytes[1] == '.' && bytes[2] == 0)))
                continue;
            // Names on disk are bytes; they become text by the one rule our opens map back.
            QString why;
            const std::optional<QString> decoded =
                LocalPath::decodeEntryName(native, QByteArrayView(bytes), &why);
            const QString name = decoded ? *decoded : QString::fromLocal8Bit(bytes);
            if (!rule.mayAccept(name))
                continue;
            // Only regular files are read: a pipe named like an MP3 file would block the tag reader.
            const bool regular = isRegularFile(fd, entry);
            const quint32 attributes = !regular      ? quint32(AttrDirectory)
                                       : rule.except ? attributeWordAt(fd, bytes)
                                                     : quint32(AttrArchive);
            if (!rule.acceptsListed(regular, attributes))
                continue;
            if (!decoded) {
                // A file this list would show: worth a word rather than silence.
                if (refused)
                    refused->append(LocalPath::escaped(QByteArrayView(bytes)) + QLatin1String(": ") + why);
                continue;
            }
            rows.push_back(listedRow(prefix, name));
            if (hook)
                hook(rows.back(), fd, bytes);
            return true;
        }
        return false;
    }
};

#else

struct FolderListing::Reader {
    ScanRule rule;
    QString prefix;
    // Hidden and system entries are enumerated too: the include rule lists them, the except
    // rule turns them away by their attribute word.
    QDirIterator it;
    bool ended = false;

    Reader(const QString& folder, const ScanRule& scanRule)
        : rule(scanRule), prefix(AddSlash(QDir::toNativeSeparators(folder))),
          it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
    {
    }

    bool read(std::vector<LocalFileRow>& rows, QStringList*, const RowHook& hook)
    {
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            const QString name = info.fileName();
            if (!rule.mayAccept(name) || !rule.accepts(name, info.isFile(), attributeWord(info)))
                continue;
            rows.push_back(listedRow(prefix, name));
            if (hook)
                hook(rows.back(), -1, nullptr);
            return true;
        }
        return false;
    }
};

#endif

FolderListing::FolderListing(const QString& folder, const ScanRule& rule)
{
    if (!isVirtual(folder))
        m_reader = std::make_unique<Reader>(folder, rule);
}

FolderListing::~FolderListing() = default;

bool FolderListing::atEnd() const
{
    return !m_reader || m_reader->ended;
}

std::vector<LocalFileRow> FolderListing::next(std::size_t maxRows, QStringList* refused, const RowHook& hook)
{
    std::vector<LocalFileRow> rows;
    while (!atEnd() && rows.size() < maxRows) {
        if (!m_reader->read(rows, refused, hook))
            m_reader->ended = true;
    }
    return rows;
}

} // namespace mFileAPI
