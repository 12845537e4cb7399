// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerFile.h"

#include "core/CodePage.h"
#include "device/PlayerView.h"

#include <algorithm>

namespace
{

// Field layout of the 300-byte record.
constexpr std::size_t ShortNameAt = 0, ShortNameBytes = 8;
constexpr std::size_t ExtensionAt = 9, ExtensionBytes = 8;
constexpr std::size_t SizeAt = 32;
constexpr std::size_t LongNameAt = 36, LongNameBytes = 260;

uint32_t littleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

} // namespace

QString AnsiBytesToString(const uint8_t* bytes, std::size_t n)
{
    const auto* end = std::find(bytes, bytes + n, uint8_t(0));
    return CodePage::toUnicode(QByteArrayView(bytes, end - bytes));
}

QString PlayerFile::displayName() const
{
    return longName.isEmpty() ? eightDotThree() : longName;
}

qint64 PlayerFile::listedSize() const
{
    const qint64 size = carriesTitleBlock(extension) ? storedSize - TitleBlockSize : storedSize;
    return std::max<qint64>(size, 0);
}

PlayerFile decodePlayerEntry(const PlayerEntry& entry, int32_t index)
{
    PlayerFile file;
    file.index = index;
    file.longName = AnsiBytesToString(entry.bytes + LongNameAt, LongNameBytes);
    file.extension = AnsiBytesToString(entry.bytes + ExtensionAt, ExtensionBytes);
    file.shortName = AnsiBytesToString(entry.bytes + ShortNameAt, ShortNameBytes);
    // Read unsigned: a file of 2 GiB or more on a large medium keeps its true size.
    file.storedSize = littleEndian32(entry.bytes + SizeAt);
    return file;
}
