// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "ShortName.h"

#include <cstdio>

namespace ShortName
{
namespace
{

constexpr std::string_view kForbiddenInLongNames = "<>:\"/\\|?*";
constexpr std::string_view kReplacedInShortNames = "+,;=[]";
constexpr std::size_t kMaxLongName = 255;

// Upper-cases what a short name may hold and replaces the rest. Bytes above 0x7F are replaced
// too: the player cannot know the PC's code page, and a cut through a double-byte character
// would leave half a character behind.
std::string clean(std::string_view part, bool& lossy)
{
    std::string out;
    for (const char ch : part) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == ' ' || c == '.') {
            lossy = true;
        } else if (c >= 0x80 || kReplacedInShortNames.find(ch) != std::string_view::npos) {
            out += '_';
            lossy = true;
        } else if (c >= 'a' && c <= 'z') {
            out += char(c - 'a' + 'A');
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace

bool isValidLongName(std::string_view longName)
{
    if (longName.empty() || longName.size() > kMaxLongName)
        return false;
    bool meaningful = false;
    for (const char ch : longName) {
        if (static_cast<unsigned char>(ch) < 0x20 || kForbiddenInLongNames.find(ch) != std::string_view::npos)
            return false;
        meaningful = meaningful || (ch != '.' && ch != ' ');
    }
    return meaningful;
}

Name make(std::string_view longName, const std::function<bool(const Name&)>& taken)
{
    // A leading point (".profile") starts no extension.
    const std::size_t dot = longName.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    bool lossy = false;
    std::string base = clean(hasExtension ? longName.substr(0, dot) : longName, lossy);
    std::string extension = hasExtension ? clean(longName.substr(dot + 1), lossy) : std::string();
    if (extension.size() > 3) {
        extension.resize(3);
        lossy = true;
    }
    if (base.size() > 8 || base.empty())
        lossy = true;
    if (base.empty())
        base.push_back('_');
    if (!lossy && !taken({base, extension}))
        return {base, extension};
    for (unsigned n = 1;; ++n) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "~%u", n);
        const std::string tail = digits;
        Name candidate{base.substr(0, std::min(base.size(), 8 - tail.size())) + tail, extension};
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace ShortName
