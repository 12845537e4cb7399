// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// FAT-style 8.3 names for the player's entries, made from the long names the PC sends.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace ShortName
{

struct Name {
    std::string base;      // 1 to 8 characters
    std::string extension; // 0 to 3 characters, upper case
};

// Whether a long name may be stored at all: 1 to 255 bytes, none of the characters FAT forbids
// (controls, < > : " / \ | ? *), and not made of points and spaces alone.
bool isValidLongName(std::string_view longName);

// Remembers, for each stem a run of "~N" names grows from, the lowest N that may still be free,
// so the thousandth "Track ....mp3" costs a look-up or two rather than a thousand. A hint is
// only ever a lower bound of the free tails: every tail below it is known to be taken.
class TailHints
{
public:
    // The first tail number worth trying for a base's stem (1 when nothing is known).
    unsigned start(const std::string& extension, const std::string& base) const;
    // Tail n was found free for the base's stem; every tail below it was taken.
    void found(const std::string& extension, const std::string& base, unsigned n);
    // A short name went away: tails it may have freed become candidates again.
    void released(const Name& name);
    void clear() { m_next.clear(); }

private:
    // (extension, the base's first six characters): the stem every candidate is cut from.
    std::map<std::pair<std::string, std::string>, unsigned> m_next;
};

// The short name for longName: upper case, characters FAT does not allow in short names become
// '_', spaces and extra points are dropped. When that loses anything, or the result is taken,
// the base is cut and given a "~N" tail with the smallest N that makes it unique.
// taken(base, extension) tells whether another entry already uses a short name.
// With hints, the search for a free tail starts where the last one for that stem ended.
Name make(std::string_view longName, const std::function<bool(const Name&)>& taken,
          TailHints* hints = nullptr);

} // namespace ShortName
