// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The boundary between the programs and the converter's module (libzvd_codecs.so), which holds
// everything that needs FFmpeg and LAME. Those libraries and the hundred-odd they pull in cost a
// program some 60 ms to load; a module loaded on the first conversion keeps that cost off every
// zvdctl command that never converts. Programs and module are built together, so the table is
// plain C++; its layout number refuses a module left over from another build.
#pragma once

#include "convert/Mp3Converter.h"

namespace CodecModule
{

// Raise when the table or the types it passes change.
constexpr int Layout = 1;

struct Functions {
    int layout;
    ConversionResult (*convert)(const QString& source, const QString& target,
                                const ConversionQuality& quality, const Mp3Converter::CancelCheck& cancelled);
    double (*duration)(const QString& source);
    qint64 (*estimatedSize)(const QString& source, const ConversionQuality& quality);
};

// The module's one exported symbol: extern "C" const CodecModule::Functions* zvd_codec_functions().
constexpr const char* EntryName = "zvd_codec_functions";
using Entry = const Functions* (*)();

// The module's file name; it lies beside the program that loads it.
constexpr const char* FileName = "libzvd_codecs.so";

} // namespace CodecModule
