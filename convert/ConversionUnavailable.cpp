// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The converter of a build made without FFmpeg and LAME (the Windows cross build): such files
// are listed, and refused with a clear reason when sent.
#include "convert/Mp3Converter.h"

namespace Mp3Converter
{

ConversionResult convert(const QString&, const QString&, const ConversionQuality&, const CancelCheck&)
{
    ConversionResult result;
    result.failure = ConversionFailure::Unavailable;
    result.error = QStringLiteral("this build of ZVD cannot convert files to MP3 (it was made without FFmpeg "
                                  "and LAME); convert it to MP3 first");
    return result;
}

double duration(const QString&)
{
    return 0;
}

qint64 estimatedSize(const QString&, const ConversionQuality&)
{
    return 0;
}

} // namespace Mp3Converter
