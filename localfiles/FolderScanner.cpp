// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FolderScanner.h"

#include "audio/TagColumns.h"
#include "convert/ConvertibleFormats.h"
#include "convert/SourceTags.h"
#include "core/LocalPath.h"
#include "localfiles/FileExtension.h"
#include "localfiles/FolderListing.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/PathJoin.h"
#include "localfiles/SizeFormat.h"
#include "localfiles/SortKey.h"

#include "audio/ReadOnlyFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
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

// Compared through case-folded keys made once per row: a folder of 100,000 files sorts in a
// fraction of what comparing with case folding on every step costs. nameAt(i) is the name of
// the i-th row listed; the result holds the listed positions in name order (ties in listed order).
template <typename NameAt>
std::vector<std::pair<QString, std::size_t>> nameOrder(std::size_t count, const NameAt& nameAt)
{
    std::vector<std::pair<QString, std::size_t>> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        keys.emplace_back(sortKey(nameAt(i)), i);
    // One comparison of the texts per step: the pair's own operator compares them twice when
    // the first is not less.
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order < 0 || (order == 0 && a.second < b.second);
    });
    return keys;
}

void sortByName(std::vector<LocalFileRow>& rows)
{
    const auto keys = nameOrder(rows.size(), [&](std::size_t i) -> const QString& { return rows[i].name; });
    std::vector<LocalFileRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(rows[key.second]));
    rows = std::move(sorted);
}

#ifdef Q_OS_UNIX

// The bytes of a row's file name on disk (the last part of its path as our opens map it back).
QByteArray nameBytes(const LocalFileRow& row)
{
    const QByteArray path = LocalPath::encode(row.path);
    return path.mid(path.lastIndexOf('/') + 1);
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

// A listed row read whole where it is listed, relative to its folder.
void completeListed(LocalFileRow& row, int folder, const char* nameBytes, const TagColumnReader& reader,
                    const SizeFormatter& formatter)
{
    completeAt(folder, nameBytes, row, reader, formatter);
}

// Rows listed and not yet read, with the bytes of each name on disk in one block.
struct ListedChunk {
    std::vector<LocalFileRow> rows;
    std::string nameBytes;
    std::vector<std::size_t> nameStarts;
};

// Hands chunks of listed rows from the thread that lists the folder to those that read the
// files, so reading starts with the first chunk rather than after the whole listing. Chunks
// stay where they are until all are read.
class ChunkQueue
{
public:
    void push(std::unique_ptr<ListedChunk> chunk)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_chunks.push_back(std::move(chunk));
        }
        m_ready.notify_one();
    }
    // No more chunks will come.
    void close()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_closed = true;
        }
        m_ready.notify_all();
    }
    // The next chunk nobody has taken, waiting for one while the listing goes on; null once
    // the listing is over and every chunk is taken.
    ListedChunk* take()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ready.wait(lock, [this] { return m_taken < m_chunks.size() || m_closed; });
        return m_taken < m_chunks.size() ? m_chunks[m_taken++].get() : nullptr;
    }
    // Only for after the readers are done, or for what they never change (the names).
    ListedChunk& chunk(std::size_t i)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return *m_chunks[i];
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<std::unique_ptr<ListedChunk>> m_chunks;
    std::size_t m_taken = 0;
    bool m_closed = false;
};

// Rows listed and handed on at a time; the first chunk is read while the next is listed.
constexpr std::size_t ChunkRows = 256;

// Reads the rows of every chunk not yet taken. A helper thread leaves the formats converted on
// send to the listing thread: their tags are read by TagLib, which is not known to be safe with
// several files open in several threads at once.
void readChunks(ChunkQueue& queue, int folder, const TagColumnReader& reader, const SizeFormatter& formatter,
                bool helper)
{
    while (ListedChunk* chunk = queue.take()) {
        for (std::size_t i = 0; i < chunk->rows.size(); ++i) {
            LocalFileRow& row = chunk->rows[i];
            if (!helper || !needsConversion(row.name))
                completeAt(folder, chunk->nameBytes.data() + chunk->nameStarts[i], row, reader, formatter);
        }
    }
}

// The threads that read beside the listing one. Whatever happens, they are stopped and joined
// before the rows they read go away; what one of them threw is thrown again in the listing thread.
class HelperReaders
{
public:
    HelperReaders(ChunkQueue& queue, const TagColumnReader& reader, const SizeFormatter& formatter)
        : m_queue(queue), m_reader(reader), m_formatter(formatter)
    {
    }
    ~HelperReaders()
    {
        m_queue.close();
        for (std::thread& thread : m_threads)
            thread.join();
    }
    HelperReaders(const HelperReaders&) = delete;
    HelperReaders& operator=(const HelperReaders&) = delete;

    std::size_t count() const { return m_threads.size(); }

    // False when the system has no thread to give: those already reading, and the listing
    // thread, then read everything.
    bool start(int folder)
    {
        try {
            m_threads.emplace_back([this, folder] {
                try {
                    readChunks(m_queue, folder, m_reader, m_formatter, true);
                } catch (...) {
                    const std::lock_guard<std::mutex> lock(m_failureMutex);
                    // The rest of its chunk stays pending; joinAll() throws this again.
                    m_failure = std::current_exception();
                }
            });
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

    void joinAll()
    {
        for (std::thread& thread : m_threads)
            thread.join();
        m_threads.clear();
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
    }

private:
    ChunkQueue& m_queue;
    const TagColumnReader& m_reader;
    const SizeFormatter& m_formatter;
    std::vector<std::thread> m_threads;
    std::mutex m_failureMutex;
    std::exception_ptr m_failure;
};

// Lists the folder and reads every row's file, in name order. Opening and reading thousands of
// files is mostly the kernel's work, so other threads read while this one lists, sorts the
// names and then reads too. A caller's own reader may not be safe to call from two threads:
// with one, this thread does it all.
std::vector<LocalFileRow> scanRows(const QString& folder, const ScanRule& rule, const TagColumnReader& reader,
                                   QStringList* refused)
{
    FolderListing listing(folder, rule);
    // One formatter for the folder: asking the locale for its separators costs more per file
    // than formatting the size.
    const SizeFormatter formatter;
    ChunkQueue queue;
    // One reader for each processor, this thread included; more than a few only wait on each other.
    const std::size_t helperCount =
        reader ? 0 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4) - 1;
    HelperReaders helpers(queue, reader, formatter);
    int folderFd = -1;
    std::vector<std::size_t> firstRowOf; // the listed position of each chunk's first row
    std::size_t listed = 0;
    while (!listing.atEnd()) {
        auto chunk = std::make_unique<ListedChunk>();
        ListedChunk& filling = *chunk;
        filling.rows = listing.next(ChunkRows, refused, [&](LocalFileRow&, int fd, const char* bytes) {
            folderFd = fd;
            filling.nameStarts.push_back(filling.nameBytes.size());
            filling.nameBytes.append(bytes).push_back('\0');
        });
        if (filling.rows.empty())
            break;
        firstRowOf.push_back(listed);
        listed += filling.rows.size();
        queue.push(std::move(chunk));
        // A folder of one chunk is read sooner than a thread starts.
        while (helpers.count() < helperCount && !listing.atEnd() && helpers.start(folderFd)) {
        }
    }
    queue.close();
    // The chunk holding the row listed i-th, and the row's place in it.
    const auto locate = [&](std::size_t i) {
        const auto after = std::upper_bound(firstRowOf.begin(), firstRowOf.end(), i);
        const std::size_t c = std::size_t(after - firstRowOf.begin()) - 1;
        return std::pair<ListedChunk*, std::size_t>(&queue.chunk(c), i - firstRowOf[c]);
    };
    const auto rowAt = [&](std::size_t i) -> LocalFileRow& {
        const auto [chunk, j] = locate(i);
        return chunk->rows[j];
    };
    // The readers never change a name, so the order is worked out while they read.
    const auto keys = nameOrder(listed, [&](std::size_t i) -> const QString& { return rowAt(i).name; });
    readChunks(queue, folderFd, reader, formatter, false);
    helpers.joinAll();
    std::vector<LocalFileRow> rows;
    rows.reserve(listed);
    for (const auto& key : keys) {
        const auto [chunk, j] = locate(key.second);
        LocalFileRow& row = chunk->rows[j];
        // What the helpers left to this thread.
        if (row.pending)
            completeAt(folderFd, chunk->nameBytes.data() + chunk->nameStarts[j], row, reader, formatter);
        rows.push_back(std::move(row));
    }
    return rows;
}

#else

void completeListed(LocalFileRow& row, int, const char*, const TagColumnReader& reader,
                    const SizeFormatter& formatter)
{
    row.pending = false;
    const QFileInfo info(row.path);
    row.size = info.size();
    row.sizeText = formatter.format(row.size);
    if (hasTagColumns(row.name))
        FillTagColumns(row.path, row, reader);
}

#endif

std::vector<LocalFileRow> listRows(const QString& folder, const ScanRule& rule,
                                   const TagColumnReader* complete, QStringList* refused)
{
    FolderListing listing(folder, rule);
    FolderListing::RowHook hook;
    // One formatter for the folder: asking the locale for its separators costs more per file
    // than formatting the size.
    const SizeFormatter formatter;
    if (complete)
        hook = [complete, &formatter](LocalFileRow& row, int fd, const char* bytes) {
            completeListed(row, fd, bytes, *complete, formatter);
        };
    return listing.next(std::numeric_limits<std::size_t>::max(), refused, hook);
}

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
#ifdef Q_OS_UNIX
    return scanRows(folder, rule, reader, refused);
#else
    std::vector<LocalFileRow> rows = listRows(folder, rule, &reader, refused);
    sortByName(rows);
    return rows;
#endif
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

void ListFolderForView(LocalFileModel& list, const QString& folder, ViewTab tab)
{
    list.listFolder(folder, ScanRule::forView(tab));
}

} // namespace mFileAPI
