// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Decoding of the medium information record and the capacity it describes.
#pragma once

#include "device/DeviceFunctions.h"

#include <QString>

// The fields of the raw block that the capacity needs. Raw words are unsigned 16-bit.
struct MediumFields {
    uint16_t unitCount = 0;
    uint16_t unitsInUse = 0;
    uint16_t unitSize = 0;
    uint8_t firstFactor = 0;
    uint8_t secondFactor = 0;
};

struct MediumCapacity {
    qint64 totalBytes = 0;
    qint64 freeBytes = 0;
};

// Decodes raw bytes 0-31 of the record into bytes 32-60 (machine order) and returns the fields.
MediumFields decodeMediumInfo(MediumInfo& info);

MediumCapacity capacityOf(const MediumFields& fields);

// Bytes as whole megabytes, halves rounded to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint64 roundedMegabytes(qint64 bytes);

// "<label>: <free> MBytes / <total> MBytes".
QString capacityText(const QString& memoryLabel, const MediumCapacity& capacity);
