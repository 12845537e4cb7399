// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/ConversionQueue.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QThread>

ConversionQueue::ConversionQueue(std::vector<Job> jobs, const ConversionQuality& quality,
                                 Mp3Converter::CancelCheck cancelled, int workers)
    : m_jobs(std::move(jobs)), m_quality(quality), m_cancelled(std::move(cancelled)), m_slots(m_jobs.size())
{
    if (workers <= 0)
        workers = qBound(1, QThread::idealThreadCount(), 2);
    workers = int(qMin<std::size_t>(std::size_t(workers), m_jobs.size()));
    for (int i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

ConversionQueue::~ConversionQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    for (Slot& slot : m_slots)
        removeFolder(slot);
}

bool ConversionQueue::mayStart(std::size_t index) const
{
    // As many files ahead of the one being sent as there are workers, and no more.
    return index < m_jobs.size() && index < m_released + m_threads.size() + 1;
}

void ConversionQueue::work()
{
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop || mayStart(m_next); });
            if (m_stop)
                return;
            index = m_next++;
            m_slots[index].started = true;
        }
        const Job& job = m_jobs[index];
        Done done;
        const QString folder = AppPaths::createTempFolder();
        if (folder.isEmpty()) {
            done.result.error = QStringLiteral("cannot create a temporary folder for the MP3");
            done.result.failure = ConversionFailure::Write;
        } else {
            done.path = QDir(folder).filePath(job.playerName);
            done.result = Mp3Converter::convert(job.source, done.path, m_quality, [this] {
                {
                    const std::lock_guard lock(m_mutex);
                    if (m_stop)
                        return true;
                }
                return m_cancelled && m_cancelled();
            });
        }
        {
            const std::lock_guard lock(m_mutex);
            Slot& slot = m_slots[index];
            slot.folder = folder;
            slot.done = done;
            slot.finished = true;
            if (slot.released)
                removeFolder(slot);
        }
        m_changed.notify_all();
    }
}

ConversionQueue::Done ConversionQueue::take(int index)
{
    if (index < 0 || std::size_t(index) >= m_slots.size())
        return Done{ConversionResult{false, false, QStringLiteral("no such conversion"), 0}, QString()};
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_slots[std::size_t(index)].finished || m_threads.empty(); });
    return m_slots[std::size_t(index)].done;
}

void ConversionQueue::release(int index)
{
    if (index < 0 || std::size_t(index) >= m_slots.size())
        return;
    {
        const std::lock_guard lock(m_mutex);
        Slot& slot = m_slots[std::size_t(index)];
        if (slot.released)
            return;
        slot.released = true;
        if (slot.finished)
            removeFolder(slot);
        while (m_released < m_slots.size() && m_slots[m_released].released)
            ++m_released;
    }
    m_changed.notify_all();
}

void ConversionQueue::removeFolder(Slot& slot)
{
    if (!slot.folder.isEmpty())
        QDir(slot.folder).removeRecursively();
    slot.folder.clear();
}
