// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The music formats the player cannot play but ZVD converts to MP3 on the way to it, and the
// name such a file gets on the player.
#pragma once

#include <QString>
#include <QStringList>

namespace ConvertibleFormats
{

// Upper-case extensions of the formats converted on send: FLAC, M4A, AAC, OGG, OGA, OPUS, WAV.
const QStringList& extensions();

// Whether this build can convert at all (FFmpeg and LAME were found when it was made).
bool conversionAvailable();

} // namespace ConvertibleFormats

// True when the file's name ends in one of the converted formats' extensions (any letter case).
bool needsConversion(const QString& path);

// The name the player stores for a file: "x.flac" becomes "x.mp3"; other names stay as they are.
QString playerNameFor(const QString& fileName);
