// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The LCD title block: a 512 x 24 one-bit picture of a song's display text plus a short
// trailer, appended to every music file the player stores. This part packs pixels into bytes
// and knows nothing of fonts, so any canvas can be fed to it.
#pragma once

#include <QByteArray>

#include <vector>

namespace TitleBlock
{

constexpr int CanvasWidth = 512;
constexpr int CanvasHeight = 24;
constexpr int BandCount = CanvasHeight / 8;
constexpr int BitmapSize = BandCount * CanvasWidth; // 1536
constexpr int Size = BitmapSize + 10;               // 1546
constexpr char Marker[4] = {'V', 'E', 'L', 'Q'};

// A pixel is on when its colour, read as the integer 0xBBGGRR, is below 0x808080: the test is
// on that integer, so any pixel whose blue is below 0x80 is on whatever its red and green.
constexpr bool isPixelOn(quint32 bgr)
{
    return qint32(bgr & 0xFFFFFF) < 0x808080;
}

// Colours of a rendered canvas as 0xBBGGRR values, row by row. Pixels outside the canvas
// count as background, so a smaller canvas packs as if padded with white.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<quint32> bgr;

    quint32 at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0xFFFFFF;
        return bgr[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// The 1546 bytes: for band 0..2, for column 0..511, a byte whose bit k is pixel (x, 8*band + k);
// then "VELQ", the text width (limited to 512), the caller's value and 0 as 16-bit
// little-endian fields. A negative width counts as 0.
QByteArray pack(const Canvas& canvas, int textWidth, qint16 value);

} // namespace TitleBlock
