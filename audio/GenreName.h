// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Names of the numeric ID3 genres, shared by both tag classes so they always agree.
#pragma once

#include <QString>

// The name of genre number `genre`; empty for 123 and for 148 to 255 (255 means no genre).
QString GenreName(quint8 genre);

// The genre number that means "no genre".
inline constexpr quint8 NoGenre = 255;
