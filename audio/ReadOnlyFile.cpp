// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/ReadOnlyFile.h"

#ifdef Q_OS_UNIX
#include "core/RegularFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFile::ReadOnlyFile(const QString& path)
{
    // Never waits on a named pipe, and reaches names whose bytes are not UTF-8.
    m_fd = RegularFile::openDescriptor(path, QIODevice::ReadOnly);
    adopt();
}

ReadOnlyFile::ReadOnlyFile(Descriptor descriptor) : m_fd(descriptor.fd)
{
    adopt();
}

void ReadOnlyFile::adopt()
{
    if (m_fd < 0)
        return;
    struct stat status {
    };
    // Only a regular file is read: a descriptor handed in may name anything.
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode))
        return;
    m_size = status.st_size;
    m_open = true;
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 ReadOnlyFile::readAt(qint64 offset, char* data, qint64 length)
{
    if (!m_open)
        return -1;
    qint64 done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(m_fd, data + done, static_cast<size_t>(length - done), static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

#else

#include <QFileInfo>

ReadOnlyFile::ReadOnlyFile(const QString& path) : m_file(path)
{
    m_open = QFileInfo(path).isFile() && m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (m_open)
        m_size = m_file.size();
}

ReadOnlyFile::~ReadOnlyFile() = default;

qint64 ReadOnlyFile::readAt(qint64 offset, char* data, qint64 length)
{
    if (!m_open || !m_file.seek(offset))
        return -1;
    return m_file.read(data, length);
}

#endif
