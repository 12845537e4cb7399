// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/LocalFileModel.h"

#include "localfiles/FolderScanner.h"
#include "localfiles/PathJoin.h"
#include "localfiles/SizeOrder.h"

#include <QDir>
#include <QMimeData>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <numeric>

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
    m_completer.reset();
}

void LocalFileModel::setRows(std::vector<LocalFileRow> rows)
{
    stopFilling();
    beginResetModel();
    m_rows = std::move(rows);
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    m_positionOfId = m_order;
    endResetModel();
}

void LocalFileModel::setRowsFilling(std::vector<LocalFileRow> rows, const QString& folder)
{
    setRows(std::move(rows));
    m_completer = std::make_unique<mFileAPI::RowCompleter>(folder);
    // The thread works on its own copies of the pending rows and never touches the model.
    std::vector<Filled> work;
    for (std::size_t id = 0; id < m_rows.size(); ++id)
        if (m_rows[id].pending)
            work.push_back({int(id), m_rows[id].name, -1, {}, {}, {}, {}});
    const quint64 generation = m_generation;
    m_filler = std::thread([this, work = std::move(work), folder, generation]() mutable {
        // A chunk every few hundred rows: small enough that taking one in costs the window a
        // fraction of a millisecond, large enough that the queue stays short.
        constexpr std::size_t ChunkRows = 256;
        const mFileAPI::RowCompleter completer(folder);
        const QString prefix = mFileAPI::AddSlash(QDir::toNativeSeparators(folder));
        std::vector<Filled> chunk;
        for (std::size_t i = 0; i < work.size() && !m_stop; ++i) {
            LocalFileRow row;
            row.name = std::move(work[i].name);
            row.path = prefix + row.name;
            row.pending = true;
            completer.complete(row);
            chunk.push_back({work[i].id, QString(), row.size, std::move(row.sizeText), std::move(row.title),
                             std::move(row.artist), std::move(row.genre)});
            const bool last = i + 1 == work.size();
            if (chunk.size() == ChunkRows || last) {
                while (m_queued >= 2 && !m_stop)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                ++m_queued;
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, chunk = std::move(chunk), last] {
                        takeChunk(generation, chunk, last);
                    },
                    Qt::QueuedConnection);
                chunk.clear();
            }
        }
        if (work.empty())
            QMetaObject::invokeMethod(
                this, [this, generation] { takeChunk(generation, {}, true); }, Qt::QueuedConnection);
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

void LocalFileModel::completeNow(LocalFileRow& row) const
{
    if (m_completer)
        m_completer->complete(row);
    else
        mFileAPI::completeRow(row);
}

void LocalFileModel::completeAll()
{
    bool any = false;
    for (LocalFileRow& row : m_rows) {
        if (row.pending) {
            completeNow(row);
            any = true;
        }
    }
    if (any && count() > 0)
        emit dataChanged(index(0, ColSize), index(count() - 1, ColGenre), {Qt::DisplayRole});
}

int LocalFileModel::findNameIgnoringCase(const QString& name) const
{
    for (int position = 0; position < count(); ++position) {
        if (row(position).name.compare(name, Qt::CaseInsensitive) == 0)
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
    const LocalFileRow& entry = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return columnText(entry, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == ColSize ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case PathRole:
        return entry.path;
    case SizeRole:
        return entry.size;
    case RowIdRole:
        return rowId(index.row());
    case Qt::DecorationRole:
        if (index.column() == ColName && m_decoration)
            return m_decoration(entry, role);
        return QVariant();
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
           row(index.row()).name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
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
        urls.append(QUrl::fromLocalFile(row(index.row()).path));
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

void LocalFileModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    if (column != ColName)
        completeAll();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Views keep their selection and current row through persistent indexes; remember which
    // row each of them stood on.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> idOf;
    idOf.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        idOf.push_back(rowId(index.row()));

    const bool ascending = order == Qt::AscendingOrder;
    if (column == ColSize) {
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            return mLVSort::sizeLess(m_rows[std::size_t(a)].size, m_rows[std::size_t(b)].size, ascending);
        });
    } else {
        // Case-folded once per row rather than on every comparison: 100,000 rows sort in a
        // fraction of the time.
        std::vector<QString> keys(m_rows.size());
        for (std::size_t id = 0; id < m_rows.size(); ++id)
            keys[id] = columnText(m_rows[id], column).toCaseFolded();
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            const QString& ka = keys[std::size_t(a)];
            const QString& kb = keys[std::size_t(b)];
            return ascending ? ka < kb : kb < ka;
        });
    }

    std::vector<int>& positionOfId = m_positionOfId;
    for (std::size_t position = 0; position < m_order.size(); ++position)
        positionOfId[std::size_t(m_order[position])] = int(position);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(positionOfId[std::size_t(idOf[std::size_t(i)])], before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
