// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/ID3v2FrameReader.h"

#include "audio/FileWindow.h"
#include "audio/ID3v2TagStream.h"

#include <QByteArrayView>

#include <array>
#include <cstring>
#include <utility>

namespace ID3v2FrameReader
{
namespace
{

constexpr qint64 TagHeaderSize = 10;

// Tag header flags.
constexpr unsigned char Unsynchronised = 0x80;
constexpr unsigned char ExtendedHeader = 0x40; // in version 2.2: the tag is compressed
// Second frame flag byte, version 2.3.
constexpr unsigned char V3Compressed = 0x80, V3Encrypted = 0x40, V3Grouped = 0x20;
// Second frame flag byte, version 2.4.
constexpr unsigned char V4Grouped = 0x40, V4Compressed = 0x08, V4Encrypted = 0x04, V4Unsynchronised = 0x02,
                        V4DataLength = 0x01;

quint32 plainSize(QByteArrayView b)
{
    quint32 value = 0;
    for (const char c : b)
        value = value << 8 | static_cast<unsigned char>(c);
    return value;
}

bool isSyncsafe(QByteArrayView b)
{
    for (const char c : b)
        if (static_cast<unsigned char>(c) & 0x80)
            return false;
    return true;
}

// Seven bits per byte, as version 2.4 stores frame sizes and every version its tag size.
quint32 syncsafeSize(QByteArrayView b)
{
    quint32 value = 0;
    for (const char c : b)
        value = value << 7 | (static_cast<unsigned char>(c) & 0x7F);
    return value;
}

constexpr std::array<std::pair<const char*, const char*>, 62> kLaterNames = {{
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"}, {"EQU", "EQUA"},
    {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"LNK", "LINK"}, {"MCI", "MCDI"}, {"MLL", "MLLT"}, {"PIC", "APIC"},
    {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"},
    {"TBP", "TBPM"}, {"TCM", "TCOM"}, {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"},
    {"TEN", "TENC"}, {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"},
    {"TMT", "TMED"}, {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"},
    {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"}, {"TPB", "TPUB"},
    {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"},
    {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"},
    {"ULT", "USLT"}, {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"},
    {"WPB", "WPUB"}, {"WXX", "WXXX"},
}};

bool isIdCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A frame of a version 2.4 tag may follow at offset: a frame identifier, padding, the audio,
// or the end of the tag or file.
bool frameMayStartAt(FileWindow& file, qint64 offset, qint64 tagEnd)
{
    if (offset == file.size() || offset == tagEnd)
        return true;
    const QByteArrayView next = file.read(offset, 4);
    if (next.size() < 4)
        return false;
    if (next == QByteArrayView("\0\0\0\0", 4))
        return true;
    if (static_cast<unsigned char>(next[0]) == 0xFF && (static_cast<unsigned char>(next[1]) & 0xE0) == 0xE0)
        return true;
    for (const char c : next)
        if (!isIdCharacter(c))
            return false;
    return true;
}

// Some taggers wrote version 2.4 frame sizes as plain numbers. Where the syncsafe reading lands
// in the middle of data and the plain one on the next frame, the plain one is right.
qint64 version4FrameSize(FileWindow& file, QByteArrayView sizeBytes, qint64 dataOffset, qint64 tagEnd)
{
    const qint64 plain = plainSize(sizeBytes);
    if (!isSyncsafe(sizeBytes))
        return plain;
    const qint64 syncsafe = syncsafeSize(sizeBytes);
    if (plain != syncsafe && !frameMayStartAt(file, dataOffset + syncsafe, tagEnd) &&
        frameMayStartAt(file, dataOffset + plain, tagEnd))
        return plain;
    return syncsafe;
}

// Skips the extended header; false when it is damaged or larger than the tag.
bool skipExtendedHeader(ID3v2TagStream& stream, int version, qint64 tagBodySize)
{
    const QByteArrayView sizeBytes = stream.read(4);
    if (sizeBytes.size() < 4)
        return false;
    // Version 2.3 counts the bytes after the size; 2.4 the whole extended header, syncsafe.
    const qint64 rest = version == 3 ? qint64(plainSize(sizeBytes)) : qint64(syncsafeSize(sizeBytes)) - 4;
    if (rest < (version == 3 ? 6 : 2) || 4 + rest > tagBodySize)
        return false;
    return stream.skip(rest);
}

} // namespace

QByteArrayView laterName(QByteArrayView id22)
{
    for (const auto& [old, later] : kLaterNames)
        if (id22 == QByteArrayView(old))
            return QByteArrayView(later);
    return {};
}

QByteArrayView Frame::data(qint64 limit)
{
    if (m_taken || limit <= 0)
        return {};
    m_taken = true;
    const qint64 start = m_stream.position();
    const auto left = [&] { return m_size - (m_stream.position() - start); };
    // Bytes that precede the data proper, in the order the flags name them. A frame too small
    // to hold them has no data.
    const int extra = m_version == 3 ? (m_format & V3Compressed ? 4 : 0) + (m_format & V3Encrypted ? 1 : 0) +
                                           (m_format & V3Grouped ? 1 : 0)
                      : m_version == 4 ? (m_format & V4Grouped ? 1 : 0) + (m_format & V4Encrypted ? 1 : 0) +
                                             (m_format & V4DataLength ? 4 : 0)
                                       : 0;
    // Encrypted data cannot be read. Compressed data is not inflated either: a few kilobytes
    // of it could claim gigabytes, and taggers have long stopped compressing texts.
    const bool unreadable = m_version == 3   ? (m_format & (V3Encrypted | V3Compressed)) != 0
                            : m_version == 4 ? (m_format & (V4Encrypted | V4Compressed)) != 0
                                             : false;
    if (extra > m_size || unreadable)
        return {};
    m_stream.skip(extra);
    const bool unsynchronised = m_version == 4 && (m_tagUnsynchronised || (m_format & V4Unsynchronised));
    if (left() <= 0)
        return {};
    if (!unsynchronised)
        return m_stream.read(qMin(left(), limit));
    // Resynchronising keeps at least half of the bytes.
    m_buffer = resynchronised(m_stream.read(qMin(left(), 2 * limit)));
    m_buffer.truncate(static_cast<qsizetype>(qMin<qint64>(m_buffer.size(), limit)));
    return m_buffer;
}

quint8 walk(FileWindow& file, qint64 position, const FrameVisitor& visit)
{
    const qint64 tagStart = position - 4; // the "I" of "ID3"
    const int versionByte = file.byteAt(position - 1);
    const quint8 version = versionByte < 0 ? 0 : static_cast<quint8>(versionByte);
    if (version < 2 || version > 4)
        return version;
    const QByteArrayView headerBytes = file.read(tagStart, TagHeaderSize);
    if (headerBytes.size() < TagHeaderSize)
        return version;
    char header[TagHeaderSize];
    std::memcpy(header, headerBytes.data(), sizeof header);
    const auto flags = static_cast<unsigned char>(header[5]);
    const QByteArrayView sizeField(header + 6, 4);
    // The size field as this program writes it (plain, whole room included) bounds the frames;
    // every other writer's syncsafe size is smaller when read that way, so it never cuts a frame.
    const quint32 tagSize = plainSize(sizeField);
    const qint64 bodySize = isSyncsafe(sizeField) ? syncsafeSize(sizeField) : tagSize;
    const qint64 tagEnd = tagStart + TagHeaderSize + bodySize;
    // Version 2.2 names no compression method: such a tag cannot be read.
    if (version == 2 && (flags & ExtendedHeader))
        return version;
    // Before version 2.4 unsynchronisation covers the whole tag, frame headers included; in 2.4
    // it covers the data of each frame.
    const bool wholeTag = (flags & Unsynchronised) && version < 4;
    ID3v2TagStream stream(file, tagStart + TagHeaderSize, wholeTag ? tagEnd : file.size(), wholeTag);
    if (version >= 3 && (flags & ExtendedHeader) && !skipExtendedHeader(stream, version, bodySize))
        return version;

    const qint64 idSize = version == 2 ? 3 : 4;
    const qint64 headerSize = version == 2 ? 6 : 10;
    Frame frame(stream, version, (flags & Unsynchronised) != 0);
    for (;;) {
        const QByteArrayView frameHeader = stream.read(headerSize);
        if (frameHeader.size() < headerSize)
            break;
        const auto firstByte = static_cast<unsigned char>(frameHeader[0]);
        // 0 is padding; 0xFF is the sync of an audio frame that follows a tag without padding.
        if (firstByte == 0 || firstByte == 0xFF)
            break;
        // A copy: reading the data may move the window under the header.
        char copy[10];
        std::memcpy(copy, frameHeader.data(), static_cast<size_t>(headerSize));
        const QByteArrayView id(copy, idSize);
        const QByteArrayView sizeBytes(copy + idSize, idSize);
        const qint64 frameSize = version == 4
                                     ? version4FrameSize(file, sizeBytes, stream.filePosition(), tagEnd)
                                     : plainSize(sizeBytes);
        if (frameSize > tagSize || frameSize > stream.end() - stream.filePosition())
            break;
        if (frameSize > 0) {
            const QByteArrayView later = version == 2 ? laterName(id) : QByteArrayView();
            const QByteArrayView shown = later.isEmpty() ? id : later;
            std::memcpy(frame.m_id, shown.data(), static_cast<size_t>(shown.size()));
            frame.m_idSize = shown.size();
            frame.m_size = frameSize;
            frame.m_format = version == 2 ? 0 : static_cast<unsigned char>(copy[9]);
            frame.m_taken = false;
            const qint64 dataStart = stream.position();
            visit(frame);
            frame.m_buffer.clear();
            if (!stream.skip(dataStart + frameSize - stream.position()))
                break;
        }
        // Read positions count from the tag's start, wherever in the file the tag lies.
        if (stream.filePosition() - tagStart + 1 > tagSize)
            break;
    }
    return version;
}

} // namespace ID3v2FrameReader
