// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Finds the first MPEG-1 Layer III frame of a file, checks it for a Xing (VBR) header and
// decodes its header: the bit rate and VBR flag go into the LCD title block of a sent song.
#pragma once

#include "MpegInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Throws TagError when the file cannot be opened or read.
MpegInfo AnalyseMpegFile(const QString& path);

// The header bit string of the first frame; sets info.vbr and info.frameCount.
QString ReadMpegHeaderBits(const QString& path, MpegInfo& info);

// The bytes as "0"/"1" characters, most significant bit first, leading zeros dropped.
QString BytesToBitString(QByteArrayView bytes);

// The value of a "0"/"1" string; 0 for an empty string.
quint64 BitStringToNumber(QStringView bits);

namespace MpegAnalysis {

// How many bytes from the file's start the analysis looks at: the frame search covers offsets
// 0 to 4999 and the Xing frame count lies up to 47 bytes behind a frame start.
inline constexpr qint64 HeadSize = 5000 + 47;

// The analysis of a file of fileLength bytes whose first bytes are `head` (at most HeadSize).
MpegInfo analyse(QByteArrayView head, qint64 fileLength);

// The header bits found in `head`, as ReadMpegHeaderBits does for a file.
QString headerBits(QByteArrayView head, qint64 fileLength, MpegInfo& info);

} // namespace MpegAnalysis
