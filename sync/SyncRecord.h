// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What earlier syncs put on one player: for each entry that arrived, the folder and file it came
// from, the file's size and time then, and the size the player stored. Kept in the user's data
// folder, one file per player (named after the player's medium information), replaced whole on
// each write so a crash leaves the old record or the new one, never half of one.
#pragma once

#include "sync/OrderKey.h"

#include "device/DeviceFunctions.h"

#include <QString>

#include <vector>

struct SyncRecordEntry {
    QString folder;       // the synced folder, absolute and canonical
    QString relativePath; // the file within it
    QString name;         // the entry's name on the player
    qint64 size = 0;      // the file's size when it was sent
    qint64 modified = 0;  // its modification time then (ms since the epoch)
    qint64 stored = 0;    // the entry's size on the player; 0 while a converted file's MP3 is
                          // on its way (its size is known only once it arrived)
    OrderKey key;         // its place in the album order, as its tags were then
    QString quality = {}; // the MP3 quality a converted file was sent at; empty: sent as it is
};

class SyncRecord
{
public:
    // Entries that arrived.
    std::vector<SyncRecordEntry> arrived;
    // Entries a sync was about to send when it wrote the record. A sync that is killed leaves
    // them here; the next one counts those the player holds, with the stored size expected, as
    // arrived, and forgets the others.
    std::vector<SyncRecordEntry> pending;
    // Set when settling changed what the file holds (not stored): a sync that changes nothing on
    // the player then need not write the record.
    bool changed = false;

    // The record file of the player with this medium information, in the user's data folder.
    // The fields that change as the player fills (entry count, units in use and free, the
    // firmware flag) are left out of the name.
    static QString pathFor(const MediumInfo& info);

    // A missing file is an empty record. A file that cannot be read or parsed gives an empty
    // record and the reason in error (and false): nothing is then known to come from a sync, so
    // nothing will be deleted on its word.
    bool load(const QString& path, QString* error = nullptr);
    bool save(const QString& path, QString* error = nullptr) const;

    // The arrived entry with this player name (ignoring letter case), or null.
    const SyncRecordEntry* find(const QString& name) const;
    void remove(const QString& name);
    void put(const SyncRecordEntry& entry); // replaces the entry of the same name
};
