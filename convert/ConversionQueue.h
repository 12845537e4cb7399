// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Converts the files of a batch ahead of their sending, one file per core, while the caller takes
// the results in batch order. Only a few files are converted ahead, so a long batch never fills
// the disk with waiting copies. Every MP3 lies in a private temporary folder of ours under the
// name the player is to store, and is removed when released or when the queue ends.
#pragma once

#include "convert/ConversionQuality.h"
#include "convert/Mp3Converter.h"

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class ConversionQueue
{
public:
    struct Job {
        QString source;
        QString playerName; // the MP3's file name
    };
    struct Done {
        ConversionResult result;
        QString path; // the MP3, when result.ok
    };

    // cancelled is asked from the worker threads: it must be safe to call from any thread.
    ConversionQueue(std::vector<Job> jobs, const ConversionQuality& quality,
                    Mp3Converter::CancelCheck cancelled, int workers = 0);
    ~ConversionQueue(); // stops the conversions under way and removes every file made
    ConversionQueue(const ConversionQueue&) = delete;
    ConversionQueue& operator=(const ConversionQueue&) = delete;

    // Waits for job `index` (0-based, in order) and returns its outcome.
    Done take(int index);
    // The caller is done with job `index`: its file is removed and a later job may start.
    void release(int index);

    int workerCount() const { return int(m_threads.size()); }

private:
    struct Slot {
        bool started = false;
        bool finished = false;
        bool released = false;
        QString folder;
        Done done;
    };

    void work();
    bool mayStart(std::size_t index) const;
    void removeFolder(Slot& slot);

    const std::vector<Job> m_jobs;
    const ConversionQuality m_quality;
    const Mp3Converter::CancelCheck m_cancelled;
    std::vector<Slot> m_slots;
    std::size_t m_next = 0;     // the next job to start
    std::size_t m_released = 0; // jobs released so far (in order)
    bool m_stop = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::thread> m_threads;
};
