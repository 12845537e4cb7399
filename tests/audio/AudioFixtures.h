// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Byte-literal building blocks for MP3 test files: frame headers, ID3v1 and ID3v2 tags.
#pragma once

#include <QByteArray>
#include <QString>

namespace AudioFixtures {

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

// A 128-byte ID3v1 tag; fields are padded with zero bytes.
QByteArray id3v1(const QByteArray& title, const QByteArray& artist, quint8 genre, quint8 track = 0);

} // namespace AudioFixtures
