// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Chooses the LCD title font's point size: the largest size from 5 to 20 points whose text is at
// most 24 pixels high (the LCD's height), measured at 96 dpi as the title renderer draws it.
#pragma once

#include <QFont>
#include <QString>

#include <functional>

namespace FontFit
{

inline constexpr int SmallestSize = 5;
inline constexpr int LargestSize = 20;
inline constexpr int FallbackSize = 4; // when even the smallest size is too high
inline constexpr int LcdHeight = 24;   // pixels

// Height in pixels of text in font (the font's point size already set).
using HeightMeasure = std::function<double(const QFont& font, const QString& text)>;

// Line height of text at 96 dots per inch, whatever the screen: one line per line of text.
double TextHeightAt96Dpi(const QFont& font, const QString& text);

// The fitted point size: 20 when no size from 5 to 20 is too high, 4 when 5 already is.
int FittedPointSize(const QFont& font, const QString& text, const HeightMeasure& measure);

// font at its fitted size.
QFont Fitted(QFont font, const QString& text, const HeightMeasure& measure);

} // namespace FontFit
