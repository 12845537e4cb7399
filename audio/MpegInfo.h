// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What the analysis of an MP3 file's first frame yields. Fields the analysis does not reach
// keep these initial values.
#pragma once

#include <QString>

struct MpegInfo {
    qint32 bitRate = 0;     // kbit/s: the average of a Xing file, else the header's table value
    qint32 sampleRate = 0;  // Hz
    QString channelMode;    // "stereo", "joint stereo", "dual channel", "single channel"
    QString emphasis;       // "no", "50/15", "reserved", "CCITT J 17"
    qint16 version = 0;     // 1, 2, 25 (MPEG-2.5), 0 (reserved)
    qint16 layer = 0;       // 1, 2, 3, 0 (reserved)
    QString padding;        // "yes" / "no"
    QString crcProtection;  // "yes" / "no"
    qint64 duration = 0;    // whole seconds
    QString copyright;      // "yes" / "no"
    QString original;       // "yes" / "no"
    QString privateBit;     // "yes" / "no"
    bool vbr = false;       // a Xing header was found
    quint32 frameCount = 0; // from the Xing header

    bool operator==(const MpegInfo&) const = default;
};
