// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Preparing a sync on a connected player (folder scan, player entries, sync record, capacity)
// and carrying out its plan: deletes, then sends in album order, then the fewest neighbour swaps
// that put the folder's entries in order. Sends and deletes go through the player operations the
// window uses, so an entry being replaced stays on the player until its new copy is in.
#pragma once

#include "sync/SyncPlan.h"
#include "sync/SyncRecord.h"

#include "core/Prompt.h"
#include "device/PlayerSession.h"
#include "transfer/TitleRenderer.h"
#include "transfer/TransferObserver.h"

#include <QStringList>

#include <functional>

struct SyncPreparation {
    enum class Problem { None, NotAFolder, NoPlayer, MediumUnread, EntriesUnread, Stopped };
    bool ok = false;
    Problem problem = Problem::None;
    QString error;      // why there is no plan, in English
    QString recordNote; // a record that could not be read (the plan then deletes nothing)
    QString recordPath;
    SyncRecord record; // settled against the player
    SyncPlan plan;
    QStringList unreadable; // files of the folder that could not be read
    bool stopped = false;   // the caller stopped it; there is no plan
};

// Reads everything a plan needs from the folder and the connected player. `stopped` is polled
// while the folder is read (it may take long): true ends it without a plan.
SyncPreparation prepareSync(PlayerSession& session, const QString& folder, const SyncOptions& options,
                            const std::function<bool()>& stopped = {});

struct SyncRequest {
    PlayerSession& session;
    Prompt& prompt; // failure notices; the plan itself answers every question of the operations
    int lcdSelector = 1;
    TitleBlockMaker makeBlock;
    TransferObserver* observer = nullptr; // progress of sends and moves; may cancel
};

struct SyncOutcome {
    enum class Status { Done, Cancelled, Failed, NotConnected };
    Status status = Status::Done;
    int sent = 0;
    int deleted = 0;
    int moves = 0;
    QStringList failures; // "name: reason", one per file or step that failed
    QStringList notSent;  // sends that did not arrive (failed, cancelled or not tried)
    bool playerGone = false;
};

// Carries out the plan. The record is written before anything changes (the planned sends as
// pending) and after (only what arrived); an outcome other than Done leaves every entry whole.
SyncOutcome runSync(SyncRequest& request, const SyncPlan& plan, SyncRecord& record,
                    const QString& recordPath);
