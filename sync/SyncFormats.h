// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Which files of a synced folder the player takes as music as they are, and which would have to
// be converted first.
#pragma once

#include <QString>

namespace SyncFormats
{

// MP3 and WMA files, by their extension in any letter case.
bool playsAsIs(const QString& name);

// Formats the player cannot play but a converter could turn into MP3 (FLAC, AAC, Ogg, Opus, WAV).
bool needsConversion(const QString& name);

// Whether a file that needs conversion can be sent at all: only by a build made with the
// converter (FFmpeg and LAME). Other builds list such files as skipped.
bool canConvert(const QString& name);

} // namespace SyncFormats
