// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Sending the selected local files to the player: free-space check, same-name questions, then
// the transfers, music files of the audio view with their LCD title block.
#pragma once

#include "convert/ConversionQuality.h"
#include "transfer/TitleRenderer.h"
#include "transfer/TransferObserver.h"

#include <vector>

class LocalFileModel;
class PlayerSession;
class Prompt;

struct SendRequest {
    PlayerSession& session; // connection, free bytes, the listed entries of the shown view
    Prompt& prompt;
    const LocalFileModel& local;   // lvwFile
    std::vector<int> selectedRows; // view positions in lvwFile; sent in list order
    int lcdSelector = 1;           // Display/LCD
    TitleBlockMaker makeBlock;     // renders a display text into a block (audio view)
    TransferObserver* observer = nullptr;
    ConversionQuality quality; // for files converted to MP3 on the way
};

// The space the selection needs on the player: every selected file's size (for a file converted
// on the way, the size its MP3 is expected to have), plus one title block for each file that
// will carry one.
qint64 requiredSpace(const SendRequest& request);

// Runs the whole send and rebuilds the player list afterwards (except when nothing could be
// done: no connection, not enough space). A failed transfer ends the batch and tells the user
// which file failed and how many were not sent. Files of other formats are converted to MP3
// first (two at once on two cores, ahead of their turn) and stored as "name.mp3"; one that
// cannot be converted is named in a message at the end, and the others go on.
TransferOutcome SendSelectedFiles(SendRequest& request);
