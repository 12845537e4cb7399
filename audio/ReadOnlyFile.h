// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A regular file opened for positioned reads with the fewest system calls (open, one status
// query, one read per region, close), for reading the tags of whole folders quickly.
#pragma once

#include <QString>

#ifndef Q_OS_UNIX
#include <QFile>
#endif

class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString& path);
#ifdef Q_OS_UNIX
    // Takes over a descriptor opened elsewhere (for example relative to its folder) and closes
    // it when done; the size comes from that descriptor, so the file is looked up only once.
    struct Descriptor {
        int fd;
    };
    explicit ReadOnlyFile(Descriptor descriptor);
#endif
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // False when the path is missing, unreadable or not a regular file.
    bool isOpen() const
    {
        return m_open;
    }
    qint64 size() const
    {
        return m_size;
    }

    // Reads up to length bytes at offset; the count read, or -1 on an error.
    qint64 readAt(qint64 offset, char* data, qint64 length);

private:
#ifdef Q_OS_UNIX
    void adopt();
#endif
    bool m_open = false;
    qint64 m_size = 0;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    QFile m_file;
#endif
};
