// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Renders a display text on the off-screen LCD canvas (picTitle) and builds its title block.
#pragma once

#include "transfer/LcdTitleFont.h"
#include "transfer/TitleBlock.h"

#include <QString>

#include <functional>

struct RenderedTitle {
    TitleBlock::Canvas canvas; // 512 x 24
    int width = 0;             // advance width of the text, whole pixels (halves to even), unlimited
};

// Draws the text black on white, without smoothing (the LCD is one bit deep, and unsmoothed
// glyphs stay legible there), the top of its line at (0, 0). Needs a Qt GUI application
// object (any platform, offscreen included).
RenderedTitle renderTitle(const QString& text, const LcdTitleFont& font);

// The 1546-byte block of a display text.
QByteArray MakeTitleBlock(const QString& text, qint16 value, const LcdTitleFont& font);

// Writes a block to a file, replacing an earlier one; false when it cannot be written.
bool writeTitleBlockFile(const QString& path, const QByteArray& block);

// MakeTitleBlock bound to one font, as sending asks for blocks.
using TitleBlockMaker = std::function<QByteArray(const QString& text, qint16 value)>;
TitleBlockMaker titleBlockMaker(const LcdTitleFont& font);
