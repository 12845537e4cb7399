// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/FileWindow.h"

#include "audio/ReadOnlyFile.h"
#include "audio/TagError.h"

#include <QFileDevice>
#include <QIODevice>

FileWindow::FileWindow(QIODevice& device, QString errorSource, qint64 windowSize)
    : m_device(&device), m_errorSource(std::move(errorSource)), m_windowSize(windowSize),
      m_size(device.size())
{
}

FileWindow::FileWindow(ReadOnlyFile& file, QString errorSource, qint64 windowSize)
    : m_file(&file), m_errorSource(std::move(errorSource)), m_windowSize(windowSize), m_size(file.size())
{
}

qint64 FileWindow::readRaw(qint64 offset, char* data, qint64 length)
{
    if (m_file)
        return m_file->readAt(offset, data, length);
    if (!m_device->seek(offset))
        return -1;
    return m_device->read(data, length);
}

QByteArrayView FileWindow::read(qint64 offset, qint64 length)
{
    if (offset < 0 || length <= 0 || offset >= m_size)
        return {};
    length = qMin(length, m_size - offset);
    const qint64 end = offset + length;
    const qint64 cacheEnd = m_start + m_data.size();
    if (offset >= m_start && end <= cacheEnd)
        return bytesAt(m_data, offset - m_start, length);
    if (offset >= m_start && offset <= cacheEnd && offset > m_start) {
        // A reader walking forward (a tag search through an untagged file, a frame walk): the
        // bytes before offset are done with, and each step reads twice as far ahead as the one
        // before, so a file searched to its end costs a few dozen reads, not one per window,
        // and the window never holds more than the read-ahead limit.
        m_data.remove(0, static_cast<qsizetype>(offset - m_start));
        m_start = offset;
        m_readAhead = qMin(m_readAhead * 2, MaxReadAhead);
        const qint64 have = m_start + m_data.size();
        fill(have, qMin(qMax(end - have, m_readAhead), m_size - have), true);
        return bytesAt(m_data, 0, length);
    }
    if (offset == m_start && offset < cacheEnd) {
        // Only the part behind the window is missing: read just that and append it.
        fill(cacheEnd, end - cacheEnd, true);
        return bytesAt(m_data, offset - m_start, length);
    }
    m_start = offset;
    m_data.clear();
    m_readAhead = m_windowSize;
    fill(offset, qMin(qMax(length, m_windowSize), m_size - offset), false);
    return bytesAt(m_data, 0, length);
}

void FileWindow::fill(qint64 offset, qint64 length, bool append)
{
    const qsizetype old = append ? m_data.size() : 0;
    m_data.resize(old + static_cast<qsizetype>(length));
    const qint64 got = readRaw(offset, m_data.data() + old, length);
    if (got < 0) {
        m_data.clear();
        if (auto* file = qobject_cast<QFileDevice*>(m_device))
            throw TagError::fromFile(*file, m_errorSource);
        throw TagError(QFileDevice::ReadError, TagError::sourceFor(m_errorSource),
                       m_device ? m_device->errorString() : QStringLiteral("The file cannot be read."));
    }
    m_data.truncate(old + static_cast<qsizetype>(got));
}

int FileWindow::byteAt(qint64 offset)
{
    const QByteArrayView bytes = read(offset, 1);
    return bytes.isEmpty() ? -1 : static_cast<unsigned char>(bytes[0]);
}
