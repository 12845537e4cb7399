// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Walks the frames of an ID3v2.2, 2.3 or 2.4 tag. The caller decides which frames' data to
// fetch, so a list of files can skip pictures without reading them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class FileWindow;
class ID3v2TagStream;

namespace ID3v2FrameReader
{

// No frame's data is read beyond this many bytes: a text shows its first thousand lines, a
// picture is never loaded whole, and a damaged size cannot make a reader allocate gigabytes.
inline constexpr qint64 FrameDataLimit = 1 << 20;

class Frame
{
public:
    // Four bytes; the three-character identifiers of version 2.2 come as their later names
    // (TT2 as TIT2), and those without one as their own three bytes.
    QByteArrayView id() const { return QByteArrayView(m_id, m_idSize); }
    // The size the frame header gives.
    qint64 size() const { return m_size; }

    // The frame's data with unsynchronisation undone and grouping, encryption and length bytes
    // taken off; at most limit bytes, and empty for encrypted or compressed data.
    // Only one call per frame; the view stays valid until the walk goes on.
    QByteArrayView data(qint64 limit = FrameDataLimit);

private:
    friend quint8 walk(FileWindow&, qint64, const std::function<void(Frame&)>&);
    Frame(ID3v2TagStream& stream, int version, bool tagUnsynchronised)
        : m_stream(stream), m_version(version), m_tagUnsynchronised(tagUnsynchronised)
    {
    }

    ID3v2TagStream& m_stream;
    int m_version;
    bool m_tagUnsynchronised;
    char m_id[4] = {};
    qsizetype m_idSize = 0;
    qint64 m_size = 0;
    unsigned char m_format = 0; // the second flag byte (versions 3 and 4)
    bool m_taken = false;
    QByteArray m_buffer;
};

using FrameVisitor = std::function<void(Frame& frame)>;

// Reads the tag whose version byte is at the 1-based file position `position` (as FindTag
// returns it) and visits its frames in file order; returns the major version byte. Frames are
// read for versions 2, 3 and 4. A frame of size 0 is passed over. The walk ends quietly at
// padding, at a frame size larger than the tag, at a frame cut off by the end of the file, at
// an extended header that overruns the tag, and at the end of the tag.
quint8 walk(FileWindow& file, qint64 position, const FrameVisitor& visit);

// The later name of a version 2.2 frame identifier ("TT2" gives "TIT2"), or empty.
QByteArrayView laterName(QByteArrayView id22);

} // namespace ID3v2FrameReader
