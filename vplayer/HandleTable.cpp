// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/HandleTable.h"

HandleTable::Guard::Guard(std::atomic_flag& flag) : m_flag(flag)
{
    while (m_flag.test_and_set(std::memory_order_acquire)) {
    }
}

HandleTable::Guard::~Guard()
{
    m_flag.clear(std::memory_order_release);
}

std::int32_t HandleTable::open(std::uint32_t generation)
{
    const Guard guard(m_busy);
    // Handles are never reused within a process, so a stale copy cannot hit a newer connection.
    m_last = m_last == INT32_MAX ? 1 : m_last + 1;
    m_open[m_last] = generation;
    return m_last;
}

std::optional<std::uint32_t> HandleTable::generationOf(std::int32_t handle) const
{
    const Guard guard(m_busy);
    const auto it = m_open.find(handle);
    if (it == m_open.end())
        return std::nullopt;
    return it->second;
}

bool HandleTable::close(std::int32_t handle)
{
    const Guard guard(m_busy);
    return m_open.erase(handle) > 0;
}

void HandleTable::closeAll()
{
    const Guard guard(m_busy);
    m_open.clear();
}
