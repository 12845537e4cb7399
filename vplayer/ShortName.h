// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// FAT-style 8.3 names for the player's entries, made from the long names the PC sends.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ShortName
{

struct Name {
    std::string base;      // 1 to 8 characters
    std::string extension; // 0 to 3 characters, upper case
};

// Whether a long name may be stored at all: 1 to 255 bytes, none of the characters FAT forbids
// (controls, < > : " / \ | ? *), and not made of points and spaces alone.
bool isValidLongName(std::string_view longName);

// The short name for longName: upper case, characters FAT does not allow in short names become
// '_', spaces and extra points are dropped. When that loses anything, or the result is taken,
// the base is cut and given a "~N" tail with the smallest N that makes it unique.
// taken(base, extension) tells whether another entry already uses a short name.
Name make(std::string_view longName, const std::function<bool(const Name&)>& taken);

} // namespace ShortName
