// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Finds the first MPEG-1 Layer III frame of a file, checks it for a Xing (VBR) header and
// decodes its header: the bit rate and VBR flag go into the LCD title block of a sent song.
#pragma once

#include "audio/MpegInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Throws TagError when the file cannot be opened or read.
MpegInfo AnalyseMpegFile(const QString& path);

// The header bit string of the first frame; sets info.vbr and info.frameCount.
QString ReadMpegHeaderBits(const QString& path, MpegInfo& info);

// The bytes as "0"/"1" characters, most significant bit first, leading zeros dropped.
QString BytesToBitString(QByteArrayView bytes);

// The value of a "0"/"1" string; 0 for an empty string.
quint64 BitStringToNumber(QStringView bits);

namespace MpegAnalysis
{

// How many bytes from a search start the analysis looks at: the frame search covers offsets
// 0 to 4999 from there, and a VBR header's frame count lies up to 53 bytes behind a frame start.
inline constexpr qint64 HeadSize = 5000 + 54;

// Reads up to length bytes at offset of the file being analysed (fewer at its end, none on an
// error).
using Reader = std::function<QByteArray(qint64 offset, qint64 length)>;

// The analysis of a file of fileLength bytes. When the file starts with an ID3v2 tag, the frame
// search first covers HeadSize bytes right after the tag (so a large cover picture does not hide
// the audio), then, as for any file, the first HeadSize bytes.
MpegInfo analyse(qint64 fileLength, const Reader& read);

// The same for a file whose first bytes are `head` (at most HeadSize); bytes beyond it are read
// from path when a tag needs them. Never throws: a file that cannot be read there counts as
// holding no frame there.
MpegInfo analyse(QByteArrayView head, qint64 fileLength, const QString& path);

// The analysis of the bytes `head` (at most HeadSize) alone, searched from their start.
MpegInfo analyse(QByteArrayView head, qint64 fileLength);

// The header bits found in `head`, as ReadMpegHeaderBits does for a file.
QString headerBits(QByteArrayView head, qint64 fileLength, MpegInfo& info);

} // namespace MpegAnalysis
