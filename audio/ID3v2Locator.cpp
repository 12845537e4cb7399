// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/ID3v2Locator.h"

#include "audio/FileWindow.h"

#include <QByteArrayView>

#include <cstring>
#include <string_view>

namespace ID3v2Locator
{
namespace
{

// MPEG Layer III frame starts (MPEG-1 and MPEG-2, with and without CRC). Audio begins there, so
// an "ID3" after such a chunk is data, not a tag, and an untagged file is not read to its end.
bool holdsFrameStart(QByteArrayView chunk)
{
    const char* const end = chunk.data() + chunk.size();
    for (const char* p = chunk.data(); p + 1 < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, 0xFF, static_cast<size_t>(end - 1 - p)));
        if (!p)
            return false;
        const auto next = static_cast<unsigned char>(p[1]);
        if (next == 0xFB || next == 0xFA || next == 0xF3 || next == 0xF2)
            return true;
    }
    return false;
}

// Index of the first "ID3", or -1. Scans with memchr: most chunks searched hold audio only.
qsizetype indexOfMarker(QByteArrayView chunk)
{
    const std::string_view text(chunk.data(), static_cast<size_t>(chunk.size()));
    const size_t found = text.find("ID3");
    return found == std::string_view::npos ? -1 : static_cast<qsizetype>(found);
}

} // namespace

qint64 FindTag(FileWindow& file)
{
    // Chunks overlap by three bytes, so an "ID3" across a border is seen whole.
    constexpr qint64 Step = ChunkSize - 3;
    // Most tagged files start with their tag: no chunk needs to be read for them.
    if (file.read(0, 3) == QByteArrayView("ID3"))
        return 4;
    for (qint64 start = 0; start < file.size(); start += Step) {
        const QByteArrayView chunk = file.read(start, ChunkSize);
        const qsizetype found = indexOfMarker(chunk);
        if (found >= 0)
            return start + found + 4;
        if (holdsFrameStart(chunk) || start + chunk.size() >= file.size())
            return 0;
    }
    return 0;
}

} // namespace ID3v2Locator
