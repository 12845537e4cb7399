// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// An exclusive lock on a file, held for the object's lifetime; serialises the processes (and
// threads) that change one virtual player.
#pragma once

#include <string>

class FileLock
{
public:
    // Blocks until the lock is held; locked() tells whether that worked.
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return m_locked; }

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    bool m_locked = false;
};
