// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "ID3v2FrameReader.h"

#include "FileWindow.h"

#include <QByteArrayView>

#include <cstring>

namespace ID3v2FrameReader {
namespace {

constexpr qint64 TagHeaderSize = 10;
constexpr qint64 FrameHeaderSize = 10;

quint32 plainSize(QByteArrayView b)
{
    return quint32(quint8(b[0])) << 24 | quint32(quint8(b[1])) << 16 | quint32(quint8(b[2])) << 8 | quint8(b[3]);
}

// Version 2.4 stores frame sizes syncsafe: seven bits per byte.
quint32 syncsafeSize(QByteArrayView b)
{
    return quint32(quint8(b[0]) & 0x7F) << 21 | quint32(quint8(b[1]) & 0x7F) << 14 |
           quint32(quint8(b[2]) & 0x7F) << 7 | (quint8(b[3]) & 0x7F);
}

} // namespace

quint8 walk(FileWindow& file, qint64 position, const FrameVisitor& visit)
{
    const qint64 tagStart = position - 4; // the "I" of "ID3"
    const int versionByte = file.byteAt(position - 1);
    const quint8 version = versionByte < 0 ? 0 : static_cast<quint8>(versionByte);
    if (version != 3 && version != 4)
        return version;
    const QByteArrayView sizeField = file.read(tagStart + 6, 4);
    if (sizeField.size() < 4)
        return version;
    // The tag's own size field as this program writes it: plain, whole room included.
    const quint32 tagSize = plainSize(sizeField);
    qint64 offset = tagStart + TagHeaderSize;
    for (;;) {
        const QByteArrayView header = file.read(offset, FrameHeaderSize);
        if (header.size() < FrameHeaderSize)
            break;
        const auto firstByte = static_cast<unsigned char>(header[0]);
        // 0 is padding; 0xFF is the sync of an audio frame that follows a tag without padding.
        if (firstByte == 0 || firstByte == 0xFF)
            break;
        const quint32 frameSize = version == 4 ? syncsafeSize(bytesAt(header, 4)) : plainSize(bytesAt(header, 4));
        if (frameSize > tagSize || frameSize < 1)
            break;
        const qint64 dataOffset = offset + FrameHeaderSize;
        if (dataOffset + frameSize > file.size())
            break;
        // A copy: the visitor's own reads may move the window under the header.
        char id[4];
        std::memcpy(id, header.data(), sizeof id);
        visit(QByteArrayView(id, sizeof id), dataOffset, frameSize);
        offset = dataOffset + frameSize;
        // Read positions count from the tag's start, wherever in the file the tag lies.
        if (offset - tagStart + 1 > tagSize)
            break;
    }
    return version;
}

} // namespace ID3v2FrameReader
