// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/EntryRecord.h"

#include <algorithm>
#include <cstring>

namespace EntryRecord
{
namespace
{

constexpr std::size_t kShortNameAt = 0;
constexpr std::size_t kExtensionAt = 9;
constexpr std::size_t kAttributeAt = 17;
constexpr std::size_t kSizeAt = 32;
constexpr std::size_t kLongNameAt = 36;
constexpr std::size_t kLongNameField = 260;
constexpr std::size_t kIndexAt = 296;
constexpr std::uint8_t kArchive = 0x20;

void putText(std::uint8_t* record, std::size_t at, std::size_t room, const std::string& text)
{
    std::memcpy(record + at, text.data(), std::min(text.size(), room));
}

void putLittleEndian(std::uint8_t* record, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        record[at + i] = std::uint8_t(value >> (8 * i));
}

} // namespace

void fill(const StoredEntry& entry, std::uint32_t index, std::uint8_t* record)
{
    std::memset(record, 0, kSize);
    putText(record, kShortNameAt, 8, entry.shortBase);
    putText(record, kExtensionAt, 8, entry.shortExtension);
    record[kAttributeAt] = kArchive;
    // Downloads above 2 GiB − 1 are refused, so the size always fits the signed field.
    putLittleEndian(record, kSizeAt, std::uint32_t(std::min<std::uint64_t>(entry.size, 0x7FFFFFFF)));
    putText(record, kLongNameAt, kLongNameField - 1, entry.longName);
    putLittleEndian(record, kIndexAt, index);
}

} // namespace EntryRecord
