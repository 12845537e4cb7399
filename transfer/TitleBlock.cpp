// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/TitleBlock.h"

#include <QtEndian>

#include <algorithm>

namespace TitleBlock
{
namespace
{

void putLittleEndian16(char* at, qint16 value)
{
    qToLittleEndian<qint16>(value, at);
}

} // namespace

QByteArray pack(const Canvas& canvas, int textWidth, qint16 value)
{
    QByteArray block(Size, '\0');
    char* out = block.data();
    for (int band = 0; band < BandCount; ++band) {
        for (int x = 0; x < CanvasWidth; ++x) {
            unsigned byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (isPixelOn(canvas.at(x, band * 8 + bit)))
                    byte |= 1u << bit;
            }
            out[band * CanvasWidth + x] = char(byte);
        }
    }
    std::copy(std::begin(Marker), std::end(Marker), out + BitmapSize);
    putLittleEndian16(out + BitmapSize + 4, qint16(std::clamp(textWidth, 0, CanvasWidth)));
    putLittleEndian16(out + BitmapSize + 6, value);
    putLittleEndian16(out + BitmapSize + 8, 0);
    return block;
}

} // namespace TitleBlock
