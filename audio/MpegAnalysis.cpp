// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/MpegAnalysis.h"

#include "audio/FileWindow.h"
#include "audio/ReadOnlyFile.h"
#include "audio/TagError.h"

#include <QFile>
#include <QList>

#include <array>
#include <cmath>
#include <limits>

namespace
{

const QString kSource = QStringLiteral("MpegAnalysis");

constexpr qint64 MinimumFileSize = 256;
constexpr qint64 SearchEnd = 5000;
// The Xing header follows the frame header and the side information, which is 17 bytes long
// in single-channel MPEG-1 frames and 32 bytes in all others.
constexpr qint64 XingMarkerOffset = 36;
constexpr qint64 XingMarkerOffsetMono = 21;
constexpr qint64 XingFramesDistance = 8;
// VBRI: marker, version, delay and quality (2 bytes each), byte count, then the frame count.
constexpr qint64 VbriMarkerOffset = 36;
constexpr qint64 VbriFramesDistance = 14;

constexpr std::array<qint16, 4> kVersions = {25, 0, 2, 1};
constexpr std::array<qint16, 4> kLayers = {0, 3, 2, 1};
constexpr std::array<qint32, 3> kSampleRatesV1 = {44100, 48000, 32000};
constexpr std::array<qint32, 3> kSampleRatesV2 = {22050, 24000, 16000};
constexpr std::array<const char*, 4> kChannelModes = {"stereo", "joint stereo", "dual channel",
                                                      "single channel"};
constexpr std::array<const char*, 4> kEmphases = {"no", "50/15", "reserved", "CCITT J 17"};

struct BitRateTable {
    int key; // version digits followed by layer digits
    std::array<qint16, 15> rates;
};

constexpr std::array<BitRateTable, 5> kBitRates = {{
    {11, {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}},
    {12, {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}},
    {13, {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {21, {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256}},
    {251, {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256}},
}};

const BitRateTable* bitRateTable(qint16 version, qint16 layer)
{
    const int key = version * (layer >= 10 ? 100 : 10) + layer;
    for (const BitRateTable& table : kBitRates)
        if (table.key == key)
            return &table;
    return nullptr;
}

// Header bits are numbered from 1, most significant bit of the first byte first.
int headerField(const QString& bits, int first, int count)
{
    return static_cast<int>(BitStringToNumber(QStringView(bits).mid(first - 1).left(count)));
}

QString yesNo(const QString& bits, int bit, bool yesWhenSet = true)
{
    const bool set = headerField(bits, bit, 1) == 1;
    return QLatin1String(set == yesWhenSet ? "yes" : "no");
}

quint32 bigEndian32(QByteArrayView bytes, qint64 offset)
{
    quint32 value = 0;
    for (qint64 i = offset; i < offset + 4; ++i)
        value = value << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
    return value;
}

// The first MPEG-1 Layer III frame start within the search range, or -1.
qint64 findFrame(QByteArrayView head)
{
    for (qint64 s = 0; s < SearchEnd && s + 1 < head.size(); ++s) {
        const auto second = static_cast<unsigned char>(head[s + 1]);
        if (static_cast<unsigned char>(head[s]) == 0xFF && (second == 0xFA || second == 0xFB))
            return s;
    }
    return -1;
}

// Where the audio may start behind an ID3v2 tag at the file's start: after the size its header
// gives (syncsafe, footer included), and, for a tag written by this program, where its room ends
// (a plain size that counts the header). Empty when the file does not start with a tag.
QList<qint64> afterLeadingTag(QByteArrayView head)
{
    if (head.size() < 10 || !head.startsWith("ID3"))
        return {};
    const auto version = static_cast<unsigned char>(head[3]);
    const auto flags = static_cast<unsigned char>(head[5]);
    if (version < 2 || version > 4)
        return {};
    QList<qint64> ends;
    quint32 plain = 0, syncsafe = 0;
    bool isSyncsafe = true;
    for (int i = 6; i < 10; ++i) {
        const auto b = static_cast<unsigned char>(head[i]);
        plain = plain << 8 | b;
        syncsafe = syncsafe << 7 | (b & 0x7F);
        isSyncsafe = isSyncsafe && b < 0x80;
    }
    if (isSyncsafe)
        ends.append(10 + qint64(syncsafe) + (version == 4 && (flags & 0x10) ? 10 : 0));
    if (plain > 10 && !ends.contains(plain))
        ends.append(plain);
    return ends;
}

// The bytes in which the frame is searched: the window behind a leading tag when it holds a
// frame, else the file's first bytes.
QByteArray searchWindow(qint64 fileLength, const MpegAnalysis::Reader& read)
{
    const QByteArray head = read(0, MpegAnalysis::HeadSize);
    for (const qint64 end : afterLeadingTag(head)) {
        if (end >= fileLength)
            continue;
        const QByteArray window = end + MpegAnalysis::HeadSize <= head.size()
                                      ? head.mid(end, MpegAnalysis::HeadSize)
                                      : read(end, MpegAnalysis::HeadSize);
        if (findFrame(window) >= 0)
            return window;
    }
    return head;
}

// Values that do not fit (a damaged Xing count can make them absurd) count as unknown.
template <typename Int> Int wholeOrZero(double value)
{
    if (!std::isfinite(value) || value < 0 || value >= static_cast<double>(std::numeric_limits<Int>::max()))
        return 0;
    return static_cast<Int>(value);
}

// Xing files: the frames' mean size gives the mean bit rate. A count of 0 or a reserved layer
// leaves it unknown (0).
double averageBitRate(qint64 fileLength, qint32 sampleRate, quint32 frameCount, qint16 layer)
{
    const int factor = layer == 1 ? 12 : (layer == 2 || layer == 3) ? 144 : 0;
    if (frameCount == 0 || factor == 0)
        return 0;
    return static_cast<double>(fileLength) * sampleRate / frameCount / 1000.0 / factor;
}

} // namespace

QString BytesToBitString(QByteArrayView bytes)
{
    QString bits;
    bits.reserve(bytes.size() * 8);
    for (char byte : bytes)
        for (int bit = 7; bit >= 0; --bit)
            bits.append(QLatin1Char((static_cast<unsigned char>(byte) >> bit & 1) ? '1' : '0'));
    const qsizetype firstOne = bits.indexOf(QLatin1Char('1'));
    return firstOne < 0 ? QStringLiteral("0") : bits.mid(firstOne);
}

quint64 BitStringToNumber(QStringView bits)
{
    quint64 value = 0;
    for (QChar c : bits)
        value = value << 1 | (c == QLatin1Char('1') ? 1u : 0u);
    return value;
}

namespace MpegAnalysis
{

QString headerBits(QByteArrayView head, qint64 fileLength, MpegInfo& info)
{
    if (fileLength < MinimumFileSize)
        return QString();
    // Without a frame the header is read at offset 0.
    const qint64 start = qMax<qint64>(0, findFrame(head));
    const QByteArrayView modeByte = bytesAt(head, start + 3, 1);
    const bool mono = !modeByte.isEmpty() && (static_cast<unsigned char>(modeByte[0]) >> 6) == 3;
    const auto markerAt = [&](qint64 marker, const char* name) {
        return bytesAt(head, marker, 4) == QByteArrayView(name);
    };
    // The usual place first, for every frame; single-channel frames may hold it earlier.
    qint64 marker = start + XingMarkerOffset;
    if (!markerAt(marker, "Xing") && mono)
        marker = start + XingMarkerOffsetMono;
    info.vbr = markerAt(marker, "Xing");
    if (info.vbr) {
        info.frameCount = bigEndian32(head, marker + XingFramesDistance);
    } else if (markerAt(start + VbriMarkerOffset, "VBRI")) {
        // The other encoders' VBR header: always 32 bytes behind the frame header.
        info.vbr = true;
        info.frameCount = bigEndian32(head, start + VbriMarkerOffset + VbriFramesDistance);
    }
    QByteArray header = bytesAt(head, start, 4).toByteArray();
    header.resize(4, '\0');
    return BytesToBitString(header);
}

MpegInfo analyse(QByteArrayView head, qint64 fileLength)
{
    MpegInfo info;
    const QString bits = headerBits(head, fileLength, info);
    if (bits.isEmpty())
        return info;
    const qint16 version = kVersions[headerField(bits, 12, 2)];
    const qint16 layer = kLayers[headerField(bits, 14, 2)];
    const QString channelMode = QLatin1String(kChannelModes[headerField(bits, 25, 2)]);
    const QString emphasis = QLatin1String(kEmphases[headerField(bits, 31, 2)]);
    if (version != 1 && version != 2 && version != 25)
        return info;
    const int rateIndex = headerField(bits, 21, 2);
    if (rateIndex == 3) {
        info.vbr = false;
        return info;
    }
    const qint32 sampleRate = (version == 1 ? kSampleRatesV1 : kSampleRatesV2)[rateIndex];
    double bitRate = 0;
    if (info.vbr) {
        bitRate = averageBitRate(fileLength, sampleRate, info.frameCount, layer);
    } else {
        const BitRateTable* table = bitRateTable(version, layer);
        if (!table)
            return info;
        const int index = headerField(bits, 17, 4);
        bitRate = index < 15 ? table->rates[index] : 0; // index 15 is not a valid bit rate
    }
    info.sampleRate = sampleRate;
    info.version = version;
    info.layer = layer;
    info.original = yesNo(bits, 30);
    info.copyright = yesNo(bits, 29);
    info.padding = yesNo(bits, 23);
    info.privateBit = yesNo(bits, 24);
    info.crcProtection = yesNo(bits, 16, false);
    info.duration = bitRate > 0 ? wholeOrZero<qint64>(std::trunc(fileLength * 8.0 / bitRate / 1000.0)) : 0;
    info.bitRate = wholeOrZero<qint32>(std::nearbyint(bitRate));
    info.channelMode = channelMode;
    info.emphasis = emphasis;
    return info;
}

} // namespace MpegAnalysis

namespace
{

// Reads from an open file; an error is raised as TagError.
MpegAnalysis::Reader fileReader(QFile& file)
{
    return [&file](qint64 offset, qint64 length) {
        QByteArray bytes(static_cast<qsizetype>(qMax<qint64>(0, qMin(length, file.size() - offset))), '\0');
        if (bytes.isEmpty())
            return bytes;
        const qint64 got = file.seek(offset) ? file.read(bytes.data(), bytes.size()) : -1;
        if (got < 0)
            throw TagError::fromFile(file, kSource);
        bytes.truncate(got);
        return bytes;
    };
}

QByteArray readHead(QFile& file, const QString& path, qint64& fileLength)
{
    // Opened without blocking: a named pipe is refused instead of waiting for a writer.
    file.setFileName(path);
    TagError::openForReading(file, kSource);
    fileLength = file.size();
    return searchWindow(fileLength, fileReader(file));
}

} // namespace

namespace MpegAnalysis
{

MpegInfo analyse(qint64 fileLength, const Reader& read)
{
    if (fileLength < MinimumFileSize)
        return MpegInfo();
    return analyse(searchWindow(fileLength, read), fileLength);
}

MpegInfo analyse(QByteArrayView head, qint64 fileLength, const QString& path)
{
    return analyse(fileLength, [&](qint64 offset, qint64 length) {
        if (offset + length <= head.size())
            return head.sliced(offset, length).toByteArray();
        QByteArray bytes(static_cast<qsizetype>(qMax<qint64>(0, length)), '\0');
        ReadOnlyFile file(path);
        const qint64 got = file.isOpen() ? file.readAt(offset, bytes.data(), length) : -1;
        bytes.truncate(static_cast<qsizetype>(qMax<qint64>(0, got)));
        return bytes;
    });
}

} // namespace MpegAnalysis

QString ReadMpegHeaderBits(const QString& path, MpegInfo& info)
{
    qint64 fileLength = 0;
    QFile file;
    const QByteArray head = readHead(file, path, fileLength);
    return MpegAnalysis::headerBits(head, fileLength, info);
}

MpegInfo AnalyseMpegFile(const QString& path)
{
    qint64 fileLength = 0;
    QFile file;
    const QByteArray head = readHead(file, path, fileLength);
    return MpegAnalysis::analyse(head, fileLength);
}
