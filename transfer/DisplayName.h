// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The text the player's LCD shows for a music file: its name, or its title, artist and genre.
#pragma once

#include <QString>

struct LocalFileRow;

// Selector (Display/LCD): exactly 1 = the file name; otherwise flags 2 = title, 4 = artist,
// 8 = genre, joined by " - " in that order. When nothing is chosen or every chosen column is
// empty, the name without its last four characters (point and three-letter extension).
QString Disp_Name(int selector, const QString& itemText, const QString& title, const QString& artist,
                  const QString& genre);
QString Disp_Name(int selector, const LocalFileRow& row);
