// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/MediumCapacity.h"

#include <cmath>
#include <cstring>

namespace
{

enum class Width { Byte, Word };

struct Field {
    int raw;     // offset in the raw block (a word's high byte comes first)
    int decoded; // offset of the decoded value
    Width width;
};

constexpr Field Fields[] = {
    {5, 32, Width::Word},  {7, 34, Width::Word},  {9, 36, Width::Word},  {11, 38, Width::Word},
    {13, 40, Width::Word}, {15, 42, Width::Byte}, {16, 43, Width::Byte}, {17, 44, Width::Byte},
    {18, 46, Width::Word}, {20, 48, Width::Word}, {22, 50, Width::Word}, {24, 52, Width::Byte},
    {25, 54, Width::Word}, {27, 56, Width::Byte}, {28, 57, Width::Byte}, {29, 58, Width::Word},
    {31, 60, Width::Byte},
};

uint16_t BigEndianWord(uint8_t high, uint8_t low)
{
    return uint16_t(high << 8 | low);
}

uint16_t decodedWord(const MediumInfo& info, int offset)
{
    uint16_t word;
    std::memcpy(&word, info.bytes + offset, sizeof word);
    return word;
}

} // namespace

MediumFields decodeMediumInfo(MediumInfo& info)
{
    for (const Field& field : Fields) {
        if (field.width == Width::Byte) {
            info.bytes[field.decoded] = info.bytes[field.raw];
        } else {
            const uint16_t word = BigEndianWord(info.bytes[field.raw], info.bytes[field.raw + 1]);
            std::memcpy(info.bytes + field.decoded, &word, sizeof word);
        }
    }
    MediumFields fields;
    fields.unitCount = decodedWord(info, 34);
    fields.unitsInUse = decodedWord(info, 36);
    fields.unitSize = decodedWord(info, 54);
    fields.firstFactor = info.bytes[56];
    fields.secondFactor = info.bytes[57];
    return fields;
}

MediumCapacity capacityOf(const MediumFields& fields)
{
    // 64-bit throughout: the largest product (65535 x 255 x 255 x 65535) still fits.
    const qint64 unitBytes = qint64(fields.secondFactor) * fields.firstFactor * fields.unitSize;
    // A medium reporting more units in use than it has is damaged, not over-full: it has no free space.
    const qint64 freeUnits = fields.unitsInUse > fields.unitCount ? 0 : fields.unitCount - fields.unitsInUse;
    return {qint64(fields.unitCount) * unitBytes, freeUnits * unitBytes};
}

qint64 roundedMegabytes(qint64 bytes)
{
    const double megabytes = double(bytes) / 1024.0 / 1024.0;
    const double lower = std::floor(megabytes);
    const double rest = megabytes - lower;
    qint64 result = qint64(lower);
    if (rest > 0.5 || (rest == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

QString capacityText(const QString& memoryLabel, const MediumCapacity& capacity)
{
    // Joined, not substituted: a label from a language file may itself hold "%1".
    return memoryLabel + QStringLiteral(": ") + QString::number(roundedMegabytes(capacity.freeBytes)) +
           QStringLiteral(" MBytes / ") + QString::number(roundedMegabytes(capacity.totalBytes)) +
           QStringLiteral(" MBytes");
}
