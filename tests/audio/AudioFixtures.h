// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Byte-literal building blocks for MP3 test files: frame headers, ID3v1 and ID3v2 tags.
#pragma once

#include <QByteArray>
#include <QString>

namespace AudioFixtures
{

// Writes bytes into dir/name and returns the path.
QString writeFile(const QString& dir, const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// A 4-byte MPEG-1 Layer III frame header: bit-rate index, sample-rate index, CRC flag (0xFA).
QByteArray frameHeader(int bitRateIndex = 9, int sampleRateIndex = 0, bool crc = false, int channelMode = 1);

// A frame header followed by zeros, with "Xing" and a frame count at offset 36 when xingFrames >= 0.
QByteArray audioFrame(int xingFrames = -1, int bitRateIndex = 9);

// An ID3v2 tag: "ID3", version, revision 0, flags 0, the given size field bytes, then body.
QByteArray id3v2(int version, quint32 sizeField, const QByteArray& body);
// A syncsafe encoding of size.
quint32 syncsafe(quint32 size);
// One frame: identifier, size (plain, or syncsafe when syncsafeSize), two zero flag bytes, data.
QByteArray frame(const char* id, const QByteArray& data, bool syncsafeSize = false);

// An ID3v2 tag with the given header flags (0x80 unsynchronised, 0x40 extended header, 0x10 footer).
QByteArray id3v2Flags(int version, int flags, quint32 sizeField, const QByteArray& body);
// Unsynchronisation as a tagger applies it: a zero byte after every 0xFF that is followed by a
// zero byte or a byte of 0xE0 or more, or that ends the bytes.
QByteArray unsynchronise(const QByteArray& bytes);
// A version 2.2 frame: three-character identifier, plain 24-bit size (the data's, unless given).
QByteArray frame22(const char* id, const QByteArray& data, qint64 size = -1);
// A version 2.4 frame with its second flag byte and a syncsafe size of the data as it stands.
QByteArray frame24(const char* id, const QByteArray& data, int formatFlags = 0);

// A 128-byte ID3v1 tag; fields are padded with zero bytes.
QByteArray id3v1(const QByteArray& title, const QByteArray& artist, quint8 genre, quint8 track = 0);

} // namespace AudioFixtures
