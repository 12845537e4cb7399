// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The bytes of an ID3v2 tag read front to back, with unsynchronisation undone where the whole tag
// was unsynchronised, so frames are parsed alike either way. Memory stays bounded by what one
// read asks for: skipped bytes are never kept.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class FileWindow;

// Undoes unsynchronisation: every 0xFF 0x00 pair stands for 0xFF.
QByteArray resynchronised(QByteArrayView bytes);

class ID3v2TagStream
{
public:
    // The stream covers the file's bytes from begin up to end (clipped to the file's size).
    ID3v2TagStream(FileWindow& file, qint64 begin, qint64 end, bool unsynchronised);

    // Bytes consumed so far, as the tag's own sizes count them (after resynchronisation).
    qint64 position() const { return m_position; }
    // Where in the file the next byte comes from.
    qint64 filePosition() const { return m_filePosition; }
    bool unsynchronised() const { return m_unsynchronised; }
    qint64 end() const { return m_end; }

    // The next bytes, at most n (fewer at the end). The view stays valid until the next call.
    QByteArrayView read(qint64 n);
    // Skips the next n bytes; false when the stream ended first.
    bool skip(qint64 n);

private:
    // Takes up to n resynchronised bytes, appending them to out when it is given.
    qint64 take(qint64 n, QByteArray* out);

    FileWindow& m_file;
    qint64 m_filePosition;
    qint64 m_end;
    bool m_unsynchronised;
    qint64 m_position = 0;
    // The last byte handed out was 0xFF: a 0x00 that follows it is dropped.
    bool m_afterFF = false;
    QByteArray m_buffer;
};
