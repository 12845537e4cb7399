// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The ID3v1 reader on arbitrary file contents.
#include "FuzzCodePage.h"
#include "audio/cMP3ID3v1.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    chooseCodePageFor(size);
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    cMP3ID3v1 tag;
    tag.readTag(buffer);
    if (tag.HasID3v1Tag() && (size <= 128 || tag.Year().isEmpty()))
        std::abort(); // a tag needs more than 128 bytes and always has four year characters
    (void)tag.GenreName(tag.Genre());
    return 0;
}
