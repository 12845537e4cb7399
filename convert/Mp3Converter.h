// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Converts one file of another format to MP3: decoded with FFmpeg, encoded with LAME (with its
// Xing/Info frame, so players know the exact length), tagged with our ID3v2.3 and ID3v1 writers
// from the source's tags. The MP3 is written under a temporary name beside its target and
// renamed when complete; a failure or a cancel removes it, so no half-made file is ever seen.
#pragma once

#include "convert/ConversionQuality.h"

#include <QString>

#include <functional>

// The kind of a failure, for a window to name in the user's language; error has the details.
enum class ConversionFailure {
    None,
    NotAFile,    // missing, a pipe, a device or a folder
    SameFile,    // the MP3 would replace its own source
    Unreadable,  // not music of a known format, protected, or damaged
    Encoder,     // the MP3 encoder refused the audio, or memory ran out
    Write,       // the MP3 could not be created, written, tagged or renamed
    Unavailable, // a build without the converter
    Cancelled,
};

struct ConversionResult {
    bool ok = false;
    bool cancelled = false;
    QString error;   // why it failed, without the file's name (the caller names it)
    qint64 size = 0; // the MP3's bytes
    ConversionFailure failure = ConversionFailure::None;
};

namespace Mp3Converter
{

// Polled between decoded packets (several times a second); true stops the conversion.
using CancelCheck = std::function<bool()>;

// Converts source into target (replacing a file of that name only once the new one is complete).
ConversionResult convert(const QString& source, const QString& target, const ConversionQuality& quality,
                         const CancelCheck& cancelled = {});

// The playing time of a file in seconds, from its container (no decoding); 0 when unknown.
double duration(const QString& source);

// The bytes a converted file is expected to take: its duration at the quality's mean rate, plus
// room for the tags.
qint64 estimatedSize(const QString& source, const ConversionQuality& quality);

} // namespace Mp3Converter
