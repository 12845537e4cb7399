// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FolderScanner.h"

#include "audio/TagColumns.h"
#include "convert/ConvertibleFormats.h"
#include "convert/SourceTags.h"
#include "core/LocalPath.h"
#include "localfiles/FileAttributes.h"
#include "localfiles/FileExtension.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/PathJoin.h"
#include "localfiles/SizeFormat.h"

#include "audio/ReadOnlyFile.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
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

bool hasTagColumns(const QString& name)
{
    return extensionOf(name) == QLatin1String("MP3") || needsConversion(name);
}

void FillTagColumns(const QString& path, LocalFileRow& row, const TagColumnReader& reader)
{
    // Our own readers for MP3; TagLib for the formats converted on send.
    const TagColumns columns = reader                  ? reader(path)
                               : needsConversion(path) ? readSourceColumns(path)
                                                       : readTagColumns(path);
    row.title = columns.title;
    row.artist = columns.artist;
    row.genre = columns.genre;
}

namespace
{

void sortByName(std::vector<LocalFileRow>& rows)
{
    // Compared through case-folded keys made once per row: a folder of 100,000 files sorts
    // in a fraction of what comparing with case folding on every step costs.
    std::vector<std::pair<QString, std::size_t>> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.emplace_back(rows[i].name.toCaseFolded(), i);
    std::sort(keys.begin(), keys.end());
    std::vector<LocalFileRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(rows[key.second]));
    rows = std::move(sorted);
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

// Names on disk are bytes; the one place they become text, by the one rule our opens map back
// (LocalPath). A name that cannot be read gives nothing, and why.
std::optional<QString> entryName(const QByteArray& folderNative, const char* bytes, QString* why)
{
    return LocalPath::decodeEntryName(folderNative, QByteArrayView(bytes), why);
}

// The bytes of a row's file name on disk (the last part of its path as our opens map it back).
QByteArray nameBytes(const LocalFileRow& row)
{
    const QByteArray path = LocalPath::encode(row.path);
    return path.mid(path.lastIndexOf('/') + 1);
}

// The folder, opened once: every file in it is then reached by name relative to it, without
// the kernel walking the folder's whole path again for each file.
class OpenFolder
{
public:
    explicit OpenFolder(const QString& folder) : m_native(LocalPath::encode(folder))
    {
        m_dir = ::opendir(m_native.constData());
    }
    ~OpenFolder()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    DIR* dir() const { return m_dir; }
    int fd() const { return ::dirfd(m_dir); }
    const QByteArray& native() const { return m_native; }

private:
    QByteArray m_native;
    DIR* m_dir = nullptr;
};

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

// Reads size and tag columns of a listed row: an MP3 file is opened once, relative to its
// folder, and its size taken from that open; any other file costs one status look-up.
void completeAt(int folder, const char* name, LocalFileRow& row, const TagColumnReader& reader,
                const SizeFormatter& formatter)
{
    row.pending = false;
    // The extension is what follows the last point; only "MP3" files, in any case, have tags read.
    const qsizetype dot = row.name.lastIndexOf(QLatin1Char('.'));
    const bool tags = QStringView(row.name).sliced(dot + 1).compare(u"MP3", Qt::CaseInsensitive) == 0;
    if (tags && !reader) {
        int fd;
        do {
            // Non-blocking: a pipe swapped in since the listing must not wait for a writer.
            fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        } while (fd < 0 && errno == EINTR);
        ReadOnlyFile file(ReadOnlyFile::Descriptor{fd});
        if (file.isOpen()) {
            row.size = file.size();
            row.sizeText = formatter.format(row.size);
            const TagColumns columns = readTagColumns(file);
            row.title = columns.title;
            row.artist = columns.artist;
            row.genre = columns.genre;
            return;
        }
        // Unreadable: the size can still be known, and the tag columns stay empty.
    }
    struct stat status {
    };
    if (::fstatat(folder, name, &status, 0) == 0 && S_ISREG(status.st_mode)) {
        row.size = status.st_size;
        row.sizeText = formatter.format(row.size);
    }
    if (tags && reader && row.hasSize())
        FillTagColumns(row.path, row, reader);
    else if (!tags && row.hasSize() && needsConversion(row.name))
        FillTagColumns(row.path, row, reader);
}

std::vector<LocalFileRow> listRows(const QString& folder, const ScanRule& rule,
                                   const TagColumnReader* complete, QStringList* refused)
{
    std::vector<LocalFileRow> rows;
    const OpenFolder open(folder);
    if (!open.isOpen())
        return rows;
    const QString prefix = AddSlash(QDir::toNativeSeparators(folder));
    // One formatter for the folder: asking the locale for its separators costs more per file
    // than formatting the size.
    const SizeFormatter formatter;
    while (const dirent* entry = ::readdir(open.dir())) {
        const char* bytes = entry->d_name;
        if (bytes[0] == '.' && (bytes[1] == 0 || (bytes[1] == '.' && bytes[2] == 0)))
            continue;
        QString why;
        const std::optional<QString> decoded = entryName(open.native(), bytes, &why);
        const QString name = decoded ? *decoded : QString::fromLocal8Bit(bytes);
        if (!rule.mayAccept(name))
            continue;
        // Only regular files are read: a pipe named like an MP3 file would block the tag reader.
        const bool regular = isRegularFile(open.fd(), entry);
        const quint32 attributes = !regular      ? quint32(AttrDirectory)
                                   : rule.except ? attributeWordAt(open.fd(), bytes)
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
        if (complete)
            completeAt(open.fd(), bytes, rows.back(), *complete, formatter);
    }
    return rows;
}

#else

quint32 attributesOf(const QFileInfo& info)
{
    return attributeWord(info);
}

std::vector<LocalFileRow> listRows(const QString& folder, const ScanRule& rule,
                                   const TagColumnReader* complete, QStringList* refused)
{
    Q_UNUSED(refused);
    std::vector<LocalFileRow> rows;
    const QString prefix = AddSlash(QDir::toNativeSeparators(folder));
    // Hidden and system entries are enumerated too: the include rule lists them, the except
    // rule turns them away by their attribute word.
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = info.fileName();
        if (!rule.mayAccept(name) || !rule.accepts(name, info.isFile(), attributesOf(info)))
            continue;
        rows.push_back(listedRow(prefix, name));
        if (complete) {
            rows.back().pending = false;
            rows.back().size = info.size();
            rows.back().sizeText = SizeFormatter().format(rows.back().size);
            if (hasTagColumns(name))
                FillTagColumns(rows.back().path, rows.back(), *complete);
        }
    }
    return rows;
}

#endif

} // namespace

RowCompleter::RowCompleter(const QString& folder)
{
#ifdef Q_OS_UNIX
    m_folder = ::open(LocalPath::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#else
    Q_UNUSED(folder);
#endif
}

RowCompleter::~RowCompleter()
{
#ifdef Q_OS_UNIX
    if (m_folder >= 0)
        ::close(m_folder);
#endif
}

void RowCompleter::complete(LocalFileRow& row, const TagColumnReader& reader) const
{
    if (!row.pending)
        return;
#ifdef Q_OS_UNIX
    if (m_folder >= 0) {
        completeAt(m_folder, nameBytes(row).constData(), row, reader, m_formatter);
        return;
    }
#endif
    row.pending = false;
    const QFileInfo info(row.path);
    if (info.isFile()) {
        row.size = info.size();
        row.sizeText = m_formatter.format(row.size);
        if (hasTagColumns(row.name))
            FillTagColumns(row.path, row, reader);
    }
}

void completeRow(LocalFileRow& row, const TagColumnReader& reader)
{
    if (row.pending)
        RowCompleter(row.path.left(row.path.size() - row.name.size())).complete(row, reader);
}

std::vector<LocalFileRow> listFolderRows(const QString& folder, const ScanRule& rule, QStringList* refused)
{
    if (folder.isEmpty() || folder.startsWith(QLatin1Char(':')))
        return {};
    std::vector<LocalFileRow> rows = listRows(folder, rule, nullptr, refused);
    sortByName(rows);
    return rows;
}

std::vector<LocalFileRow> scanFolderRows(const QString& folder, const ScanRule& rule,
                                         const TagColumnReader& reader, QStringList* refused)
{
    if (folder.isEmpty() || folder.startsWith(QLatin1Char(':')))
        return {};
    std::vector<LocalFileRow> rows = listRows(folder, rule, &reader, refused);
    sortByName(rows);
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

void ListFolderForView(LocalFileModel& list, const QString& folder, ViewTab tab, QStringList* refused)
{
    list.setRowsFilling(listFolderRows(folder, ScanRule::forView(tab), refused), folder);
}

} // namespace mFileAPI
