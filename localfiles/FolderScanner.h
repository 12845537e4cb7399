// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Lists a PC folder into the local file list by a view's rule, with the tag columns of MP3 files.
#pragma once

#include "localfiles/LocalFileRow.h"
#include "localfiles/ScanRule.h"
#include "localfiles/SizeFormat.h"

#include <functional>
#include <vector>

struct TagColumns;
class LocalFileModel;

namespace mFileAPI
{

using TagColumnReader = std::function<TagColumns(const QString& path)>;

// True when the folder is not an existing local directory (a virtual node of the folder tree):
// such a folder lists nothing.
bool isVirtualFolder(const QString& folder);

// The rows a folder gives under a rule, ordered by name (case-insensitive). A folder that is
// virtual or cannot be read gives no rows. Tags are read only for files whose extension is MP3;
// reader defaults to the audio subsystem's tag reader. A file the rule takes whose name cannot be
// read as text is not listed; refused, when given, gets one line per such file: its name (bytes
// escaped), a colon and why.
std::vector<LocalFileRow> scanFolderRows(const QString& folder, const ScanRule& rule,
                                         const TagColumnReader& reader = {}, QStringList* refused = nullptr);

// The same rows by name alone, quickly: no file is opened, so sizes and tag columns are still
// pending; completeRow, or the model's background filling, reads them later.
std::vector<LocalFileRow> listFolderRows(const QString& folder, const ScanRule& rule,
                                         QStringList* refused = nullptr);

// Reads the size and, for an MP3 file, the tag columns of a pending row; a row whose file
// cannot be read keeps an unknown size and empty columns.
void completeRow(LocalFileRow& row, const TagColumnReader& reader = {});

// Completes pending rows of one folder, keeping the folder open between them so each file is
// reached relative to it. complete() may run on any one thread at a time.
class RowCompleter
{
public:
    explicit RowCompleter(const QString& folder);
    ~RowCompleter();
    RowCompleter(const RowCompleter&) = delete;
    RowCompleter& operator=(const RowCompleter&) = delete;

    void complete(LocalFileRow& row, const TagColumnReader& reader = {}) const;

private:
    int m_folder = -1;
    const SizeFormatter m_formatter; // made once: the locale's separators are slow to ask for
};

// Fills the model with the folder's files whose extension is one of the words.
void ScanFolder(LocalFileModel& list, const QString& folder, const QString& ext1, const QString& ext2,
                const QString& ext3);

// Fills the model with the folder's plain files (attribute word exactly read-only or archive)
// whose extension is none of the words.
void ScanFolderExcept(LocalFileModel& list, const QString& folder, const QString& ext1, const QString& ext2,
                      const QString& ext3);

// The per-view scan of a tab change and of the refill after a receive; refused as in
// scanFolderRows, for the caller to show.
void ScanFolderForView(LocalFileModel& list, const QString& folder, ViewTab tab,
                       QStringList* refused = nullptr);
// The same for the window: the first names show at once, the rest of the folder and then the
// sizes and tag columns fill in behind (see LocalFileModel::listFolder).
void ListFolderForView(LocalFileModel& list, const QString& folder, ViewTab tab);

// Whether the list shows tag columns for a file of this name: MP3 files and the formats
// converted on send.
bool hasTagColumns(const QString& name);

// Title, artist and genre of one file into the row: an MP3 file's from its ID3v2 tag, else its
// ID3v1 tag; a file converted on send from its own tags. A tag that cannot be read leaves the
// columns empty.
void FillTagColumns(const QString& path, LocalFileRow& row, const TagColumnReader& reader = {});

} // namespace mFileAPI
