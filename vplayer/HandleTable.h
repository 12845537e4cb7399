// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The connections one process has open, so that every call can refuse a handle it never
// issued or already closed.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>

class HandleTable
{
public:
    // A new handle (always > 0) for a connection made in the given attach generation.
    std::int32_t open(std::uint32_t generation);
    std::optional<std::uint32_t> generationOf(std::int32_t handle) const;
    bool close(std::int32_t handle);
    void closeAll();

private:
    // A spin lock rather than std::mutex: the MinGW build's win32 thread model has no mutex, and
    // the table is held for a few instructions only.
    class Guard
    {
    public:
        explicit Guard(std::atomic_flag& flag);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        std::atomic_flag& m_flag;
    };

    mutable std::atomic_flag m_busy = ATOMIC_FLAG_INIT;
    std::int32_t m_last = 0;
    std::map<std::int32_t, std::uint32_t> m_open;
};
