// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Which folder entries a view of the local list shows.
#pragma once

#include <QString>
#include <QStringList>

namespace mFileAPI
{

// The three views of both lists, numbered as the tab strip numbers its tabs.
enum class ViewTab : int { Audio = 1, Record = 2, Hdd = 3 };

struct ScanRule {
    // Include (ScanFolder): files whose extension is one of the words.
    // Except (ScanFolderExcept): entries whose attribute word is exactly read-only or exactly
    // archive and whose extension is none of the words.
    bool except = false;
    QStringList words; // upper-case extensions; empty words match nothing

    static ScanRule include(const QString& ext1, const QString& ext2, const QString& ext3);
    static ScanRule exclude(const QString& ext1, const QString& ext2, const QString& ext3);
    static ScanRule forView(ViewTab tab);

    // isFile: a regular file (folders never pass); attributes: see attributeWord.
    bool accepts(const QString& name, bool isFile, quint32 attributes) const;
    // The part of the test the name alone decides (its extension; for the except rule, that it
    // is not hidden), so a scan asks the file system only about names that may pass.
    bool mayAccept(const QString& name) const;
    // The rest of the test, for a name mayAccept let through.
    bool acceptsListed(bool isFile, quint32 attributes) const;
};

// "audio", "record", "hdd" (any case) to a tab; false for anything else.
bool parseViewTab(const QString& text, ViewTab& tab);

} // namespace mFileAPI
