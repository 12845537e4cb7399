// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The local file list (lvwFile) as an item model: name, size, title, artist, genre.
#pragma once

#include "localfiles/BlockList.h"
#include "localfiles/LocalFileRow.h"

#include <QAbstractTableModel>

#include <atomic>
#include <functional>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

namespace mFileAPI
{
class FolderListing;
class RowCompleter;
struct ScanRule;
} // namespace mFileAPI

class LocalFileModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColName = 0, ColSize, ColTitle, ColArtist, ColGenre, ColumnCount };
    enum Role { PathRole = Qt::UserRole + 1, SizeRole, RowIdRole };

    explicit LocalFileModel(QObject* parent = nullptr);
    ~LocalFileModel() override;

    // Replaces every row at once (one reset, however many rows). Rows come in the order given;
    // the scan hands them over ordered by name.
    void setRows(std::vector<LocalFileRow> rows);
    void clear() { setRows({}); }

    // Lists a folder's files that the rule accepts, for the window, however large the folder:
    // the first chunk of names shows at once; a background thread lists the rest, handing it
    // over in chunks that are merged into the order of the current sort (the view keeps its
    // selection and current row through each), then reads sizes and tag columns, top rows
    // first. fillingFinished() follows the last of it. A later listing, setRows or clear drops
    // what an earlier listing still had to hand over.
    void listFolder(const QString& folder, const mFileAPI::ScanRule& rule);
    bool isFilling() const { return m_filler.joinable() && !m_fillDone; }
    // Rows of the first chunk and at most of each later one (tests make them small).
    void setListingChunks(int first, int later);
    // Reads every row still pending, here and now.
    void completeAll();

    // Rows by view position. rowId() is the row's position in the order setRows received, which
    // sorting does not change; selection bookkeeping keys on it. A row still pending is read
    // on the spot, so whoever asks for a row (sending, the summary) sees it whole.
    int count() const { return int(m_order.size()); }
    const LocalFileRow& row(int position) const { return rowById(m_order[std::size_t(position)]); }
    int rowId(int position) const { return m_order[std::size_t(position)]; }
    const LocalFileRow& rowById(int id) const
    {
        if (m_rows[std::size_t(id)].pending)
            completeNow(id);
        return m_rows[std::size_t(id)];
    }

    // View position of the first row whose name equals name ignoring case, or -1.
    int findNameIgnoringCase(const QString& name) const;

    // Decoration (icons) comes from the window's icon lists; the core only asks for it.
    using DecorationSource = std::function<QVariant(const LocalFileRow& row, int role)>;
    void setDecorationSource(DecorationSource source) { m_decoration = std::move(source); }

    // Editing the Title, Artist and Genre cells of MP3 rows: the editor writes the files's tag
    // and reports whether it did; without one the list is read-only.
    using TagCellEditor = std::function<bool(int rowId, int column, const QString& text)>;
    void setTagCellEditor(TagCellEditor editor) { m_tagCellEditor = std::move(editor); }
    bool isTagCellEditable(const QModelIndex& index) const;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // New tag columns of a row whose file's tag was written.
    void setTagColumns(int rowId, const QString& title, const QString& artist, const QString& genre);
    // The row id of the row listing this path, or -1.
    int rowIdOfPath(const QString& path) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void setHeaderTexts(const QStringList& texts);
    // Rows can be dragged (to the player list, or to a file manager as file URLs).
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // Text columns sort case-insensitively, the size column by number (unknown sizes last).
    // Sorting by a column that is still being filled reads the pending rows first.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void fillingFinished();

private:
    // What the thread reads for one row, and gives back: the row's columns, nothing else, so a
    // folder of 100,000 files is not held twice while it fills.
    struct Filled {
        int id;
        qint64 size = -1;
        QString sizeText;
        QString title;
        QString artist;
        QString genre;
        QString titleKey;
        QString artistKey;
        QString genreKey;
    };
    // The case-folded texts rows sort by (see sortKey), by row id; null until a sort needs one.
    struct SortKeys {
        QString name;
        QString title;
        QString artist;
        QString genre;
    };
    // Names listed by the background thread, with their keys, and the ids of every row listed
    // so far in name order: the thread merges, so the window need not compare names.
    struct Listed {
        std::vector<LocalFileRow> rows;
        std::vector<SortKeys> keys;
        std::vector<int> nameOrder;
    };
    // One row for the thread to read.
    struct Work {
        int id;
        QString name;
        QString key;
    };
    // The row at a view position as listed, perhaps still pending: its name and path are known,
    // and asking for them (flags of every cell, the header's look at a large selection) must not
    // read the file.
    const LocalFileRow& listed(int position) const
    {
        return m_rows[std::size_t(m_order[std::size_t(position)])];
    }
    void stopFilling();
    void fill(std::unique_ptr<mFileAPI::FolderListing> listing, std::vector<Work> work, const QString& folder,
              quint64 generation);
    void waitForRoomInQueue() const;
    void takeListed(quint64 generation, Listed& chunk);
    void takeChunk(quint64 generation, const std::vector<Filled>& chunk, bool last);
    // Adds rows at the end and moves them to their places: into order when given (every row id
    // in the order of the current sort), else by merging.
    void append(std::vector<LocalFileRow> rows, std::vector<SortKeys> keys,
                std::vector<int>* order = nullptr);
    void completeNow(int id) const;
    // Rows and keys of the list shown before, freed on a thread of their own: a folder of
    // 100,000 rows takes longer to free than the window may wait.
    void dispose(BlockList<LocalFileRow> rows, BlockList<SortKeys> keys);
    const QString& keyOf(int id, int column) const;
    bool less(int a, int b) const;
    // Applies a change of m_order as a layout change that keeps the views' selection and
    // current row on the same rows.
    void reorder(const std::function<void()>& change);

    // Rows and keys by row id, in the blocks they were listed in: rows listed later join
    // without moving those already shown (a vector of 100,000 rows moved them all as it grew).
    mutable BlockList<LocalFileRow> m_rows;
    mutable BlockList<SortKeys> m_keys;
    // Whether a row's tag cells can be edited, by row id: flags() is asked for every cell of
    // every row when the header looks at a large selection, and must not touch the rows.
    std::vector<bool> m_mp3;
    int m_sortColumn = ColName;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::size_t m_firstChunk = 1000;
    std::size_t m_laterChunk = std::numeric_limits<std::size_t>::max();
    std::thread m_disposer;
    std::vector<int> m_order;
    std::vector<int> m_positionOfId; // the inverse of m_order
    QStringList m_headers;
    DecorationSource m_decoration;
    TagCellEditor m_tagCellEditor;
    // Background filling: the folder kept open for on-the-spot reads, the thread, and a
    // generation that makes chunks of an older listing count for nothing.
    std::unique_ptr<mFileAPI::RowCompleter> m_completer;
    std::thread m_filler;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_fillDone{false};
    // Chunks handed over but not yet taken in: the thread waits while two are queued, so the
    // window never meets a pile of them in one turn of its event loop.
    std::atomic<int> m_queued{0};
    // A row the view painted while its columns were still to be read: the thread reads from
    // there on next, so whatever the user scrolled to fills first. Painting never reads files
    // itself: on a busy disk one open may wait for tens of milliseconds.
    mutable std::atomic<int> m_wanted{-1};
    quint64 m_generation = 0;
};
