// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/ID3v2TagStream.h"

#include "audio/FileWindow.h"

namespace
{

// Skipped unsynchronised data is decoded in pieces of this size, so a large picture costs no
// more memory than a small one.
constexpr qint64 PieceSize = 64 * 1024;

} // namespace

QByteArray resynchronised(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    bool afterFF = false;
    for (const char c : bytes) {
        if (afterFF && c == '\0') {
            afterFF = false;
            continue;
        }
        out.append(c);
        afterFF = static_cast<unsigned char>(c) == 0xFF;
    }
    return out;
}

ID3v2TagStream::ID3v2TagStream(FileWindow& file, qint64 begin, qint64 end, bool unsynchronised)
    : m_file(file), m_filePosition(begin), m_end(qMin(end, file.size())), m_unsynchronised(unsynchronised)
{
}

qint64 ID3v2TagStream::take(qint64 n, QByteArray* out)
{
    qint64 taken = 0;
    while (taken < n && m_filePosition < m_end) {
        // Every raw byte yields at most one byte, and most yield exactly one.
        const qint64 want = qMin(qMin(n - taken, PieceSize), m_end - m_filePosition);
        const QByteArrayView raw = m_file.read(m_filePosition, want);
        if (raw.isEmpty())
            break;
        qsizetype used = 0;
        for (; used < raw.size() && taken < n; ++used) {
            const char c = raw[used];
            if (m_afterFF && c == '\0') {
                m_afterFF = false;
                continue;
            }
            if (out)
                out->append(c);
            m_afterFF = static_cast<unsigned char>(c) == 0xFF;
            ++taken;
        }
        m_filePosition += used;
    }
    m_position += taken;
    return taken;
}

QByteArrayView ID3v2TagStream::read(qint64 n)
{
    if (n <= 0)
        return {};
    if (!m_unsynchronised) {
        const QByteArrayView bytes = m_file.read(m_filePosition, qMin(n, m_end - m_filePosition));
        m_filePosition += bytes.size();
        m_position += bytes.size();
        return bytes;
    }
    m_buffer.clear();
    m_buffer.reserve(static_cast<qsizetype>(qMin(n, m_end - m_filePosition)));
    take(n, &m_buffer);
    return m_buffer;
}

bool ID3v2TagStream::skip(qint64 n)
{
    if (n <= 0)
        return true;
    if (!m_unsynchronised) {
        const qint64 step = qMin(n, m_end - m_filePosition);
        m_filePosition += step;
        m_position += step;
        return step == n;
    }
    return take(n, nullptr) == n;
}
