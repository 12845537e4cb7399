// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Texts of the sync command and its plan window, from the language file's [Sync] section; a key
// the file lacks keeps its English text.
#pragma once

#include "sync/SyncPlan.h"

#include <QString>

#include <array>

struct SyncTexts {
    QString menu = QStringLiteral("S&ync Folder to Player...");
    QString caption = QStringLiteral("Sync Folder to Player");
    QString folder = QStringLiteral("Folder:");
    QString choose = QStringLiteral("&Choose...");
    QString mirror =
        QStringLiteral("&Mirror: delete the songs this folder sent earlier that are gone from it");
    QString order = QStringLiteral("&Order on the player:");
    QString orderAlbum = QStringLiteral("Album artist and album and track");
    QString orderName = QStringLiteral("File name");
    QString orderNone = QStringLiteral("As sent");
    QString columnAction = QStringLiteral("Action");
    QString columnFile = QStringLiteral("File");
    QString columnReason = QStringLiteral("Reason");
    QString columnSize = QStringLiteral("Size");
    QString send = QStringLiteral("send");
    QString remove = QStringLiteral("delete");
    QString keep = QStringLiteral("keep");
    QString skip = QStringLiteral("skip");
    QString summary =
        QStringLiteral("%1 to send (%2 bytes); %3 to delete (%4 bytes); %5 to keep; %6 skipped");
    QString notFit = QStringLiteral("Not everything fits: the first %1 of %2 files fit in folder order.");
    QString noPlan = QStringLiteral("No plan could be made:");
    QString start = QStringLiteral("&Sync");
    QString startFitting = QStringLiteral("&Send what fits");
    QString done = QStringLiteral("Sync: %1 sent; %2 deleted; %3 moves");
    QString problems = QStringLiteral("The sync did not finish:");
    QString reading = QStringLiteral("Reading the folder and the player...");
    QString stopped = QStringLiteral("Stopped before the plan was made.");
    QString notAFolder = QStringLiteral("not a folder: %1");
    QString noPlayer = QStringLiteral("no player attached");
    QString mediumUnread = QStringLiteral("the player's memory could not be read");
    QString entriesUnread = QStringLiteral("the player's entries could not be read");

    // Why each file gets its action ("WhyNew", "WhyChanged"... in the file).
    std::array<QString, std::size_t(SyncItem::Why::Last) + 1> whys;

    SyncTexts();
    // The reason of an item, with its arguments in place.
    QString reason(const SyncItem& item) const;

    static SyncTexts load(const QString& languageFile);
};
