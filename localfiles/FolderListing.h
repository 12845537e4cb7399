// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The entries of one PC folder that a view's rule accepts, read a part at a time: a caller can
// show the first rows of a large folder before the rest is read, or stop reading at any point.
#pragma once

#include "localfiles/LocalFileRow.h"
#include "localfiles/ScanRule.h"

#include <QStringList>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace mFileAPI
{

class FolderListing
{
public:
    // Called for each accepted row as it is listed: the folder's descriptor and the name's bytes
    // on disk, so the file can be reached relative to the folder (-1 and null where the platform
    // has no such thing).
    using RowHook = std::function<void(LocalFileRow& row, int folder, const char* nameBytes)>;

    // A folder that is virtual (empty, ":name") or cannot be opened lists nothing.
    FolderListing(const QString& folder, const ScanRule& rule);
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // Up to maxRows more rows in the folder's own order, still pending (by name only); fewer
    // only when the folder is at its end. A name that cannot be read as text is not listed;
    // refused, when given, gets one line for each: its bytes escaped, a colon and why.
    std::vector<LocalFileRow> next(std::size_t maxRows, QStringList* refused = nullptr,
                                   const RowHook& hook = {});
    bool atEnd() const;

private:
    struct Reader;
    std::unique_ptr<Reader> m_reader;
};

} // namespace mFileAPI
