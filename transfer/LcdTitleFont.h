// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The font in which song titles are rendered for the player's LCD (settings FONT/NAME, SIZE, BOLD).
#pragma once

#include <QString>

struct LcdTitleFont {
    QString face = QStringLiteral("Arial");
    double points = 16.0; // rendered at 96 dots per inch, whatever the screen
    bool bold = false;
};
