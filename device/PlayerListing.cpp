// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The listing half of PlayerSession: capacity and the entries of the selected view.
#include "device/MediumCapacity.h"
#include "device/PlayerSession.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

bool PlayerSession::ShowCapacity()
{
    MediumInfo info{};
    // A failed call is not an empty medium: taken as one, a send would be refused for want of
    // space and every name looked for would seem absent.
    m_memoryRead = m_library.GetMediumInfo(m_handle, 0, info);
    if (!m_memoryRead) {
        m_totalBytes = 0;
        m_freeBytes = 0;
        m_capacityText = texts().memory + QStringLiteral(": ") + texts().memoryUnread;
        return false;
    }
    const MediumCapacity capacity = capacityOf(decodeMediumInfo(info));
    m_totalBytes = capacity.totalBytes;
    m_freeBytes = capacity.freeBytes;
    m_capacityText = ::capacityText(texts().memory, capacity);
    return true;
}

namespace
{
struct FreeMemory {
    void operator()(void* memory) const { std::free(memory); }
};
} // namespace

bool PlayerSession::readEntries(std::vector<PlayerFile>& files)
{
    files.clear();
    // First call: room for nothing, only to learn the number of entries.
    std::vector<PlayerEntry> probe(2, PlayerEntry{});
    int32_t total = 0;
    int32_t count = 0;
    if (!m_library.Refresh(m_handle, 0, total, probe.data(), count))
        return false;
    const int32_t capacity = total < 1 ? 2 : std::min(total, MaxListedEntries);
    // Zeroed by the allocator, which gets a block this large already zeroed from the system:
    // 30,000 records of 300 bytes are then written once, by the library, not twice.
    const std::unique_ptr<PlayerEntry[], FreeMemory> entries(
        static_cast<PlayerEntry*>(std::calloc(std::size_t(capacity), sizeof(PlayerEntry))));
    if (!entries)
        throw std::bad_alloc();
    count = capacity;
    if (!m_library.Refresh(m_handle, 0, total, entries.get(), count))
        return false;
    // Never trust the returned count beyond the room we gave.
    const int32_t written = std::clamp(count, int32_t(0), capacity);
    files.reserve(std::size_t(written));
    for (int32_t i = 0; i < written; ++i)
        files.push_back(decodePlayerEntry(entries[std::size_t(i)], i));
    return true;
}

bool PlayerSession::RefreshPlayerList()
{
    m_listRead = false;
    m_list.clear();
    m_allEntries.clear();
    if (m_handle == 0)
        return false;
    if (!ShowCapacity())
        return false;
    if (m_totalBytes == 0) {
        m_listRead = true;
        return true;
    }
    std::vector<PlayerFile> files;
    if (!readEntries(files)) {
        m_capacityText += QStringLiteral(" (") + texts().entriesUnread + QLatin1Char(')');
        return false;
    }
    m_list.reserve(files.size());
    for (const PlayerFile& file : files)
        if (belongsToView(m_view, file.extension))
            m_list.append(file);
    m_allEntries = std::move(files);
    m_listRead = true;
    return true;
}
