// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Progress of a send or receive, file by file. The window shows it; zvdctl prints it on a
// terminal. The observer may cancel the files not yet started.
#pragma once

#include <QString>

struct TransferProgress {
    QString name;   // the file or entry being transferred
    int number = 0; // 1-based position in the batch
    int total = 0;  // files in the batch
    qint64 bytes = 0;
};

class TransferObserver
{
public:
    virtual ~TransferObserver() = default;
    // Before each file. Returning false cancels this file and every later one.
    virtual bool fileStarting(const TransferProgress& progress) = 0;
    // After each file that was started.
    virtual void fileFinished(const TransferProgress& progress, bool ok) = 0;
    // Asked from any thread while a file is being prepared (converted): true stops the batch
    // without waiting for the file to finish.
    virtual bool stopRequested() const { return false; }
};

// How a batch ended.
struct TransferOutcome {
    enum class Status {
        NotConnected,   // nothing done
        NotEnoughSpace, // nothing done (send only)
        Done,           // every file of the batch arrived
        Cancelled,      // the observer stopped the batch; the files before arrived
        Failed,         // a device call or local file work failed; see failedName
    };
    Status status = Status::Done;
    int batchSize = 0;       // files that passed the questions
    int transferred = 0;     // files that arrived
    QString failedName;      // the first file that failed
    bool playerGone = false; // Failed because the player was detached (no player attached now)
};
