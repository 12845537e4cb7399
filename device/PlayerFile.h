// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// One decoded entry of the player's list, and the decoding of the library's 300-byte record.
#pragma once

#include "device/DeviceFunctions.h"

#include <QString>

#include <cstddef>

// Bytes from the start of a field until a zero byte or n bytes, in the ANSI code page.
QString AnsiBytesToString(const uint8_t* bytes, std::size_t n);

// Size of the LCD title block that sending appends to music files.
constexpr qint64 TitleBlockSize = 1546;

struct PlayerFile {
    int32_t index = 0;     // 0-based position in the player's whole entry list
    QString shortName;     // up to 8 characters
    QString extension;     // as stored, e.g. "MP3"
    qint64 storedSize = 0; // bytes on the player
    QString longName;      // may be empty

    QString eightDotThree() const { return shortName + QLatin1Char('.') + extension; }
    // The long name, or the 8.3 name when the long name is empty.
    QString displayName() const;
    // Stored size less the title block for music entries (never below 0).
    qint64 listedSize() const;
};

PlayerFile decodePlayerEntry(const PlayerEntry& entry, int32_t index);
