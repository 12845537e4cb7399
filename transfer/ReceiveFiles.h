// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Fetching the selected player entries into the PC folder shown, then refilling the local list.
#pragma once

#include "localfiles/ScanRule.h"
#include "transfer/TransferObserver.h"

#include <QString>

#include <vector>

class LocalFileModel;
class PlayerSession;
class Prompt;

struct ReceiveRequest {
    PlayerSession& session; // connection and the listed entries of the shown view
    Prompt& prompt;
    LocalFileModel& local;                             // lvwFile: asked for same names, refilled afterwards
    std::vector<int> selectedRows;                     // positions in the player list; fetched in list order
    QString folder;                                    // the folder shown in the tree
    mFileAPI::ViewTab tab = mFileAPI::ViewTab::Record; // decides the refill
    TransferObserver* observer = nullptr;
};

// Asks before replacing a local file of the same name, fetches each entry into a temporary
// file in the folder and puts it in place only when the whole entry arrived, so a failed
// transfer leaves the old file as it was and nothing partial behind. Entries of "MP3" and
// "WMA" are fetched at their listed size, without the title block. Refills the local list
// (whenever there is a connection), but does not rebuild the player list.
TransferOutcome ReceiveSelectedFiles(ReceiveRequest& request);
