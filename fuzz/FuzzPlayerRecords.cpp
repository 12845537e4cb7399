// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device library fills entry and medium records; a faulty library must not make decoding
// read outside them or produce nonsense sizes.
#include "FuzzCodePage.h"
#include "device/MediumCapacity.h"
#include "device/PlayerFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    chooseCodePageFor(size);
    PlayerEntry entry{};
    std::memcpy(entry.bytes, data, std::min(size, sizeof entry.bytes));
    const PlayerFile file = decodePlayerEntry(entry, 0);
    if (file.listedSize() < 0 || file.displayName().isEmpty())
        std::abort(); // an entry always has a name (at least ".") and never a negative size

    MediumInfo info{};
    if (size > sizeof entry.bytes)
        std::memcpy(info.bytes, data + sizeof entry.bytes, std::min<size_t>(size - sizeof entry.bytes, 32));
    const MediumCapacity capacity = capacityOf(decodeMediumInfo(info));
    if (capacity.freeBytes < 0 || capacity.freeBytes > capacity.totalBytes)
        std::abort();
    capacityText(QStringLiteral("Memory"), capacity);
    return 0;
}
