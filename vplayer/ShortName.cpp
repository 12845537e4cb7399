// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/ShortName.h"

#include <algorithm>
#include <cstdio>

namespace ShortName
{
namespace
{

constexpr std::string_view kForbiddenInLongNames = "<>:\"/\\|?*";
constexpr std::string_view kReplacedInShortNames = "+,;=[]";
constexpr std::size_t kMaxLongName = 255;
// "~1" leaves six characters of the base: the longest stem a candidate is cut from.
constexpr std::size_t kStemLength = 6;

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    return out;
}

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

unsigned TailHints::start(const std::string& extension, const std::string& base) const
{
    const auto it = m_next.find({extension, base.substr(0, kStemLength)});
    return it == m_next.end() ? 1 : it->second;
}

void TailHints::found(const std::string& extension, const std::string& base, unsigned n)
{
    m_next[{extension, base.substr(0, kStemLength)}] = n;
}

void TailHints::released(const Name& name)
{
    const std::string base = upper(name.base);
    const std::size_t tilde = base.rfind('~');
    if (tilde == std::string::npos)
        return;
    const std::string digits = base.substr(tilde + 1);
    if (digits.empty() || digits.size() > 6 || digits[0] == '0' ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    const std::string stem = base.substr(0, tilde);
    const std::size_t cut = 8 - std::min<std::size_t>(8, digits.size() + 1);
    if (stem.size() > cut)
        return;
    const unsigned n = unsigned(std::stoul(digits));
    // Candidate n of a stem key is the key cut to `cut` characters plus the tail: with a stem
    // shorter than the cut only that very key can make this name; with a full-length stem, every
    // key that starts with it can.
    const std::string extension = upper(name.extension);
    for (auto it = m_next.lower_bound({extension, stem});
         it != m_next.end() && it->first.first == extension &&
         it->first.second.compare(0, stem.size(), stem) == 0;
         ++it) {
        if (stem.size() == cut || it->first.second == stem)
            it->second = std::min(it->second, n);
    }
}

Name make(std::string_view longName, const std::function<bool(const Name&)>& taken, TailHints* hints)
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
    for (unsigned n = hints ? hints->start(extension, base) : 1;; ++n) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "~%u", n);
        const std::string tail = digits;
        Name candidate{base.substr(0, std::min(base.size(), 8 - tail.size())) + tail, extension};
        if (!taken(candidate)) {
            if (hints)
                hints->found(extension, base, n);
            return candidate;
        }
    }
}

} // namespace ShortName
