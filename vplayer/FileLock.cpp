// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/FileLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef _WIN32

FileLock::FileLock(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    m_handle = file;
    OVERLAPPED whole{};
    m_locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

FileLock::~FileLock()
{
    if (!m_handle)
        return;
    if (m_locked) {
        OVERLAPPED whole{};
        UnlockFileEx(m_handle, 0, MAXDWORD, MAXDWORD, &whole);
    }
    CloseHandle(m_handle);
}

#else

FileLock::FileLock(const std::string& path)
{
    // Each lock opens its own descriptor: flock locks belong to the open file description, so two
    // threads of one process exclude each other just as two processes do.
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return;
    int result;
    do {
        result = ::flock(m_fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    m_locked = result == 0;
}

FileLock::~FileLock()
{
    if (m_fd < 0)
        return;
    if (m_locked)
        ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
}

#endif
