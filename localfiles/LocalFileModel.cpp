// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/LocalFileModel.h"

#include "localfiles/FolderListing.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/PathJoin.h"
#include "localfiles/SizeOrder.h"
#include "localfiles/SortKey.h"

#include <QDir>
#include <QMimeData>
#include <QSet>
#include <QUrl>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <iterator>
#include <numeric>
#include <utility>

namespace
{

const QString& columnText(const LocalFileRow& row, int column)
{
    switch (column) {
    case LocalFileModel::ColSize:
        return row.sizeText;
    case LocalFileModel::ColTitle:
        return row.title;
    case LocalFileModel::ColArtist:
        return row.artist;
    case LocalFileModel::ColGenre:
        return row.genre;
    default:
        return row.name;
    }
}

bool isMp3(const QString& name)
{
    return name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
}

// The threads that list, read and free rows for the window yield to it: with both cores busy,
// a thread at the same priority would keep the window waiting for its turn.
void yieldToTheWindow()
{
#if defined(Q_OS_LINUX)
    // Raising one's own niceness needs no privilege; a failure leaves the thread as it was.
    (void)::setpriority(PRIO_PROCESS, id_t(::gettid()), 10);
#elif defined(Q_OS_WIN)
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#endif
}

} // namespace

LocalFileModel::LocalFileModel(QObject* parent)
    : QAbstractTableModel(parent), m_headers{QStringLiteral("Filename"), QStringLiteral("FileSize"),
                                             QStringLiteral("Title"), QStringLiteral("Artist"),
                                             QStringLiteral("Genre")}
{
}

LocalFileModel::~LocalFileModel()
{
    stopFilling();
    if (m_disposer.joinable())
        m_disposer.join();
}

void LocalFileModel::stopFilling()
{
    ++m_generation;
    m_stop = true;
    if (m_filler.joinable())
        m_filler.join();
    m_stop = false;
    m_fillDone = false;
    m_queued = 0;
    m_wanted = -1;
    m_completer.reset();
}

void LocalFileModel::dispose(BlockList<LocalFileRow> rows, BlockList<SortKeys> keys)
{
    if (m_disposer.joinable())
        m_disposer.join();
    if (rows.size() < 1000)
        return; // freed here, at once: not worth a thread
    m_disposer = std::thread([rows = std::move(rows), keys = std::move(keys)]() mutable {
        yieldToTheWindow();
        rows = {};
        keys = {};
    });
}

void LocalFileModel::setRows(std::vector<LocalFileRow> rows)
{
    stopFilling();
    // The views forget the old rows in one reset; freeing them is no business of the window.
    beginResetModel();
    m_mp3.clear();
    for (const LocalFileRow& row : rows)
        m_mp3.push_back(isMp3(row.name));
    const std::size_t count = rows.size();
    BlockList<LocalFileRow> old = std::exchange(m_rows, BlockList<LocalFileRow>(std::move(rows)));
    BlockList<SortKeys> oldKeys = std::exchange(m_keys, BlockList<SortKeys>(std::vector<SortKeys>(count)));
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    m_positionOfId = m_order;
    m_sortColumn = ColName;
    m_sortOrder = Qt::AscendingOrder;
    endResetModel();
    dispose(std::move(old), std::move(oldKeys));
}

void LocalFileModel::setListingChunks(int first, int later)
{
    m_firstChunk = std::size_t(std::max(1, first));
    m_laterChunk = std::size_t(std::max(1, later));
}

void LocalFileModel::listFolder(const QString& folder, const mFileAPI::ScanRule& rule)
{
    setRows({});
    auto listing = std::make_unique<mFileAPI::FolderListing>(folder, rule);
    // The first names are listed here, so the window shows rows as soon as it paints.
    std::vector<LocalFileRow> first = listing->next(m_firstChunk);
    std::vector<SortKeys> keys;
    std::vector<Work> work;
    keys.reserve(first.size());
    work.reserve(first.size());
    for (const LocalFileRow& row : first) {
        keys.push_back({mFileAPI::sortKey(row.name), {}, {}, {}});
        work.push_back({int(work.size()), row.name, keys.back().name});
    }
    append(std::move(first), std::move(keys));
    m_completer = std::make_unique<mFileAPI::RowCompleter>(folder);
    const quint64 generation = m_generation;
    m_filler = std::thread(
        [this, listing = std::move(listing), work = std::move(work), folder, generation]() mutable {
            fill(std::move(listing), std::move(work), folder, generation);
        });
}

void LocalFileModel::waitForRoomInQueue() const
{
    while (m_queued >= 2 && !m_stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The background thread: it works on its own copies of the rows and never touches the model.
void LocalFileModel::fill(std::unique_ptr<mFileAPI::FolderListing> listing, std::vector<Work> work,
                          const QString& folder, quint64 generation)
{
    yieldToTheWindow();
    // The rest of the folder's names. The thread keeps every name listed so far in name order,
    // merging each chunk in, and hands that order over with the chunk.
    const auto byName = [](const Work& a, const Work& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.id < b.id;
    };
    std::sort(work.begin(), work.end(), byName);
    // The window must merge each chunk into every row it shows, so chunks are few, yet each is
    // small enough to take in without a noticeable pause: whatever was listed in a quarter of a
    // second goes over at once, up to the chunk size.
    constexpr auto ChunkTime = std::chrono::milliseconds(250);
    while (!listing->atEnd() && !m_stop) {
        Listed chunk;
        const auto started = std::chrono::steady_clock::now();
        while (!listing->atEnd() && !m_stop && chunk.rows.size() < m_laterChunk &&
               std::chrono::steady_clock::now() - started < ChunkTime) {
            std::vector<LocalFileRow> part =
                listing->next(std::min<std::size_t>(1024, m_laterChunk - chunk.rows.size()));
            std::move(part.begin(), part.end(), std::back_inserter(chunk.rows));
        }
        if (chunk.rows.empty())
            break;
        // Held by the window for as long as the folder is shown: no room to spare.
        chunk.rows.shrink_to_fit();
        const std::size_t sorted = work.size();
        chunk.keys.reserve(chunk.rows.size());
        for (const LocalFileRow& row : chunk.rows) {
            chunk.keys.push_back({mFileAPI::sortKey(row.name), {}, {}, {}});
            work.push_back({int(work.size()), row.name, chunk.keys.back().name});
        }
        std::sort(work.begin() + std::ptrdiff_t(sorted), work.end(), byName);
        std::inplace_merge(work.begin(), work.begin() + std::ptrdiff_t(sorted), work.end(), byName);
        chunk.nameOrder.reserve(work.size());
        for (const Work& entry : work)
            chunk.nameOrder.push_back(entry.id);
        waitForRoomInQueue();
        ++m_queued;
        QMetaObject::invokeMethod(
            this, [this, generation, chunk = std::move(chunk)]() mutable { takeListed(generation, chunk); },
            Qt::QueuedConnection);
    }
    listing.reset();
    // Then sizes and tag columns, in name order: the rows at the top of the list fill first.
    // A chunk every few hundred rows: small enough that taking one in costs the window a
    // fraction of a millisecond, large enough that the queue stays short.
    constexpr std::size_t ChunkRows = 256;
    const mFileAPI::RowCompleter completer(folder);
    const QString prefix = mFileAPI::AddSlash(QDir::toNativeSeparators(folder));
    std::vector<Filled> chunk;
    // Rows are read in name order from the top, except that a row the view asked for moves
    // the reading there; the rows passed over are read after the last.
    std::vector<int> indexOfId(work.size(), -1);
    for (std::size_t i = 0; i < work.size(); ++i)
        if (work[i].id >= 0 && std::size_t(work[i].id) < work.size())
            indexOfId[std::size_t(work[i].id)] = int(i);
    std::vector<bool> read(work.size(), false);
    std::size_t cursor = 0;
    std::size_t firstUnread = 0;
    for (std::size_t done = 0; done < work.size() && !m_stop; ++done) {
        const int wanted = m_wanted.exchange(-1);
        if (wanted >= 0 && std::size_t(wanted) < indexOfId.size() && indexOfId[std::size_t(wanted)] >= 0 &&
            !read[std::size_t(indexOfId[std::size_t(wanted)])])
            cursor = std::size_t(indexOfId[std::size_t(wanted)]);
        while (cursor < work.size() && read[cursor])
            ++cursor;
        if (cursor == work.size()) {
            while (read[firstUnread])
                ++firstUnread;
            cursor = firstUnread;
        }
        const std::size_t i = cursor;
        read[i] = true;
        LocalFileRow row;
        row.name = std::move(work[i].name);
        row.path = prefix + row.name;
        row.pending = true;
        completer.complete(row);
        chunk.push_back({work[i].id, row.size, std::move(row.sizeText), row.title, row.artist, row.genre,
                         mFileAPI::sortKey(row.title), mFileAPI::sortKey(row.artist),
                         mFileAPI::sortKey(row.genre)});
        const bool last = done + 1 == work.size();
        // A wanted row goes over at once, with what was read before it.
        if (chunk.size() == ChunkRows || last || m_wanted >= 0) {
            waitForRoomInQueue();
            ++m_queued;
            QMetaObject::invokeMethod(
                this,
                [this, generation, chunk = std::move(chunk), last] { takeChunk(generation, chunk, last); },
                Qt::QueuedConnection);
            chunk.clear();
        }
    }
    if (work.empty() && !m_stop)
        QMetaObject::invokeMethod(
            this, [this, generation] { takeChunk(generation, {}, true); }, Qt::QueuedConnection);
}

void LocalFileModel::takeListed(quint64 generation, Listed& chunk)
{
    if (generation != m_generation)
        return; // names of a listing that stopFilling() already forgot
    --m_queued;
    // The thread's order holds while the list is sorted by name, upwards, as a listing starts.
    const bool byName = m_sortColumn == ColName && m_sortOrder == Qt::AscendingOrder &&
                        chunk.nameOrder.size() == m_rows.size() + chunk.rows.size();
    append(std::move(chunk.rows), std::move(chunk.keys), byName ? &chunk.nameOrder : nullptr);
}

void LocalFileModel::append(std::vector<LocalFileRow> rows, std::vector<SortKeys> keys,
                            std::vector<int>* order)
{
    if (rows.empty())
        return;
    const int firstId = int(m_rows.size());
    const int firstPosition = count();
    std::vector<int> fresh(rows.size());
    std::iota(fresh.begin(), fresh.end(), firstId);
    for (const LocalFileRow& row : rows)
        m_mp3.push_back(isMp3(row.name));
    m_rows.append(std::move(rows));
    m_keys.append(std::move(keys));
    if (!order) {
        // Sorted by another column than the name, the rows are read whole before they find their place.
        if (m_sortColumn != ColName)
            for (int id : fresh)
                if (m_rows[std::size_t(id)].pending)
                    completeNow(id);
        std::stable_sort(fresh.begin(), fresh.end(), [this](int a, int b) { return less(a, b); });
    }
    // The new rows go in at the end; one layout change then puts them in their places among the
    // rows already shown.
    beginInsertRows(QModelIndex(), firstPosition, firstPosition + int(fresh.size()) - 1);
    m_order.insert(m_order.end(), fresh.begin(), fresh.end());
    m_positionOfId.resize(m_rows.size());
    for (std::size_t position = std::size_t(firstPosition); position < m_order.size(); ++position)
        m_positionOfId[std::size_t(m_order[position])] = int(position);
    endInsertRows();
    if (order)
        reorder([this, order] { m_order = std::move(*order); });
    else if (firstPosition > 0 &&
             less(m_order[std::size_t(firstPosition)], m_order[std::size_t(firstPosition) - 1]))
        reorder([this, firstPosition] {
            std::inplace_merge(m_order.begin(), m_order.begin() + firstPosition, m_order.end(),
                               [this](int a, int b) { return less(a, b); });
        });
}

void LocalFileModel::takeChunk(quint64 generation, const std::vector<Filled>& chunk, bool last)
{
    if (generation != m_generation)
        return; // a chunk of a listing that stopFilling() already forgot
    --m_queued;
    int first = count();
    int final = -1;
    for (const Filled& filled : chunk) {
        LocalFileRow& row = m_rows[std::size_t(filled.id)];
        // A row read on the spot meanwhile is already whole.
        if (!row.pending)
            continue;
        row.pending = false;
        row.size = filled.size;
        row.sizeText = filled.sizeText;
        row.title = filled.title;
        row.artist = filled.artist;
        row.genre = filled.genre;
        SortKeys& keys = m_keys[std::size_t(filled.id)];
        keys.title = filled.titleKey;
        keys.artist = filled.artistKey;
        keys.genre = filled.genreKey;
        const int position = m_positionOfId[std::size_t(filled.id)];
        first = std::min(first, position);
        final = std::max(final, position);
    }
    // Only the span the chunk covers: views walk every row of a changed range, and a chunk's
    // rows lie together in name order (sorting by any other column reads all rows first).
    if (final >= first)
        emit dataChanged(index(first, ColSize), index(final, ColGenre), {Qt::DisplayRole});
    if (last) {
        m_fillDone = true;
        emit fillingFinished();
    }
}

void LocalFileModel::completeNow(int id) const
{
    LocalFileRow& row = m_rows[std::size_t(id)];
    if (m_completer)
        m_completer->complete(row);
    else
        mFileAPI::completeRow(row);
    // The tag texts are new: their keys are made again when a sort needs them.
    SortKeys& keys = m_keys[std::size_t(id)];
    keys.title = keys.artist = keys.genre = QString();
}

void LocalFileModel::completeAll()
{
    bool any = false;
    for (std::size_t id = 0; id < m_rows.size(); ++id) {
        if (m_rows[id].pending) {
            completeNow(int(id));
            any = true;
        }
    }
    if (any && count() > 0)
        emit dataChanged(index(0, ColSize), index(count() - 1, ColGenre), {Qt::DisplayRole});
}

int LocalFileModel::findNameIgnoringCase(const QString& name) const
{
    for (int position = 0; position < count(); ++position) {
        if (listed(position).name.compare(name, Qt::CaseInsensitive) == 0)
            return position;
    }
    return -1;
}

int LocalFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int LocalFileModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LocalFileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::DecorationRole: {
        // What the view paints: the row as far as it is read. Painting never reads a file (on a
        // busy disk one open may wait tens of milliseconds); a pending row shows its name at once
        // and the thread is told to read from it next.
        const LocalFileRow& shown = listed(index.row());
        if (shown.pending && m_filler.joinable() && !m_fillDone) {
            int none = -1;
            m_wanted.compare_exchange_strong(none, rowId(index.row()));
        }
        if (role == Qt::DecorationRole)
            return index.column() == ColName && m_decoration ? m_decoration(shown, role) : QVariant();
        return columnText(shown, index.column());
    }
    case Qt::EditRole:
        return columnText(row(index.row()), index.column());
    case Qt::TextAlignmentRole:
        return index.column() == ColSize ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case PathRole:
        return listed(index.row()).path;
    case SizeRole:
        return row(index.row()).size;
    case RowIdRole:
        return rowId(index.row());
    default:
        return QVariant();
    }
}

QVariant LocalFileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void LocalFileModel::setHeaderTexts(const QStringList& texts)
{
    for (int i = 0; i < ColumnCount && i < texts.size(); ++i)
        m_headers[i] = texts.at(i);
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

bool LocalFileModel::isTagCellEditable(const QModelIndex& index) const
{
    if (!m_tagCellEditor || !index.isValid() || index.row() >= count())
        return false;
    const int column = index.column();
    return (column == ColTitle || column == ColArtist || column == ColGenre) &&
           m_mp3[std::size_t(m_order[std::size_t(index.row())])];
}

bool LocalFileModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !isTagCellEditable(index))
        return false;
    // An edit that changes nothing writes nothing.
    if (value.toString() == columnText(row(index.row()), index.column()))
        return true;
    return m_tagCellEditor(rowId(index.row()), index.column(), value.toString());
}

void LocalFileModel::setTagColumns(int rowId, const QString& title, const QString& artist,
                                   const QString& genre)
{
    if (rowId < 0 || std::size_t(rowId) >= m_rows.size())
        return;
    LocalFileRow& entry = m_rows[std::size_t(rowId)];
    entry.title = title;
    entry.artist = artist;
    entry.genre = genre;
    m_keys[std::size_t(rowId)] = {m_keys[std::size_t(rowId)].name, {}, {}, {}};
    const int position = m_positionOfId[std::size_t(rowId)];
    emit dataChanged(index(position, ColTitle), index(position, ColGenre));
}

int LocalFileModel::rowIdOfPath(const QString& path) const
{
    for (std::size_t id = 0; id < m_rows.size(); ++id)
        if (m_rows[id].path == path)
            return int(id);
    return -1;
}

Qt::ItemFlags LocalFileModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (isTagCellEditable(index))
        flags |= Qt::ItemIsEditable;
    if (index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList LocalFileModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* LocalFileModel::mimeData(const QModelIndexList& indexes) const
{
    QList<QUrl> urls;
    QSet<int> seen;
    for (const QModelIndex& index : indexes) {
        if (!index.isValid() || index.row() >= count() || seen.contains(index.row()))
            continue;
        seen.insert(index.row());
        urls.append(QUrl::fromLocalFile(listed(index.row()).path));
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

const QString& LocalFileModel::keyOf(int id, int column) const
{
    SortKeys& keys = m_keys[std::size_t(id)];
    QString& key = column == ColTitle    ? keys.title
                   : column == ColArtist ? keys.artist
                   : column == ColGenre  ? keys.genre
                                         : keys.name;
    if (key.isNull()) {
        const QString& text = columnText(m_rows[std::size_t(id)], column);
        if (!text.isEmpty())
            key = mFileAPI::sortKey(text);
    }
    return key;
}

bool LocalFileModel::less(int a, int b) const
{
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    if (m_sortColumn == ColSize)
        return mLVSort::sizeLess(m_rows[std::size_t(a)].size, m_rows[std::size_t(b)].size, ascending);
    const QString& ka = keyOf(a, m_sortColumn);
    const QString& kb = keyOf(b, m_sortColumn);
    return ascending ? ka < kb : kb < ka;
}

void LocalFileModel::reorder(const std::function<void()>& change)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Views keep their selection and current row through persistent indexes; remember which
    // row each of them stood on.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> idOf;
    idOf.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        idOf.push_back(rowId(index.row()));
    change();
    for (std::size_t position = 0; position < m_order.size(); ++position)
        m_positionOfId[std::size_t(m_order[position])] = int(position);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(m_positionOfId[std::size_t(idOf[std::size_t(i)])], before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LocalFileModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    if (column != ColName)
        completeAll();
    m_sortColumn = column;
    m_sortOrder = order;
    if (column == ColSize) {
        reorder([this] {
            std::stable_sort(m_order.begin(), m_order.end(), [this](int a, int b) { return less(a, b); });
        });
        return;
    }
    // The keys side by side with the ids they belong to: the comparisons then touch the keys'
    // characters and nothing else (keys are made once per row, mostly by the background
    // thread as the tags arrive).
    std::vector<std::pair<QStringView, int>> keyed;
    keyed.reserve(m_order.size());
    for (int id : m_order)
        keyed.emplace_back(keyOf(id, column), id);
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    reorder([this, &keyed] {
        for (std::size_t position = 0; position < keyed.size(); ++position)
            m_order[position] = keyed[position].second;
    });
}
