// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/PlayerState.h"

#include "vplayer/StateFile.h"

#include <array>
#include <charconv>

namespace
{

constexpr char kHex[] = "0123456789ABCDEF";

// Names may hold any byte; the file keeps one record per line and fields apart by spaces, so
// spaces, controls, '%' and bytes above 0x7E are written as %XX. The leading ':' lets an empty
// name survive as a field of its own.
std::string encode(std::string_view bytes)
{
    std::string out = ":";
    for (const unsigned char c : bytes) {
        if (c <= 0x20 || c >= 0x7F || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> decode(std::string_view field)
{
    if (field.empty() || field[0] != ':')
        return std::nullopt;
    field.remove_prefix(1);
    std::string out;
    out.reserve(field.size());
    while (!field.empty()) {
        // Copy the plain run up to the next escape in one go: most names have none.
        const std::size_t percent = std::min(field.find('%'), field.size());
        out.append(field.substr(0, percent));
        field.remove_prefix(percent);
        if (field.empty())
            break;
        if (field.size() < 3)
            return std::nullopt;
        const int high = hexValue(field[1]);
        const int low = hexValue(field[2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += char(high * 16 + low);
        field.remove_prefix(3);
    }
    return out;
}

template <typename T> std::optional<T> number(std::string_view field)
{
    T value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

// The space-separated fields of a line. No line of the file has more than six; a longer one keeps
// counting without storing, so it is refused by its size.
class Fields
{
public:
    explicit Fields(std::string_view line)
    {
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t end = std::min(line.find(' ', start), line.size());
            if (m_size < m_fields.size())
                m_fields[m_size] = line.substr(start, end - start);
            ++m_size;
            start = end + 1;
        }
    }
    std::size_t size() const { return m_size; }
    std::string_view operator[](std::size_t n) const { return m_fields[n]; }

private:
    std::array<std::string_view, 6> m_fields;
    std::size_t m_size = 0;
};

} // namespace

void PlayerState::countUnits() const
{
    if (geometry == m_countedGeometry)
        return;
    m_countedGeometry = geometry;
    m_unitsInUse = 0;
    for (const StoredEntry& entry : m_entries)
        m_unitsInUse += geometry.unitsFor(entry.size);
}

std::string PlayerState::nameKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return key;
}

std::string PlayerState::shortKey(std::string_view base, std::string_view extension)
{
    std::string key = nameKey(base);
    key += '.';
    key += nameKey(extension);
    return key;
}

void PlayerState::indexNames() const
{
    if (m_namesIndexed)
        return;
    m_longNames.reserve(m_entries.size());
    m_shortNames.reserve(m_entries.size());
    for (const StoredEntry& entry : m_entries) {
        ++m_longNames[nameKey(entry.longName)];
        ++m_shortNames[shortKey(entry.shortBase, entry.shortExtension)];
    }
    m_namesIndexed = true;
}

void PlayerState::index(const StoredEntry& entry)
{
    countUnits();
    m_unitsInUse += geometry.unitsFor(entry.size);
    if (!m_namesIndexed)
        return;
    ++m_longNames[nameKey(entry.longName)];
    ++m_shortNames[shortKey(entry.shortBase, entry.shortExtension)];
}

void PlayerState::unindex(const StoredEntry& entry)
{
    countUnits();
    m_unitsInUse -= geometry.unitsFor(entry.size);
    m_tailHints.released({entry.shortBase, entry.shortExtension});
    if (!m_namesIndexed)
        return;
    const auto drop = [](std::unordered_map<std::string, std::uint32_t>& names, const std::string& key) {
        const auto it = names.find(key);
        if (it != names.end() && --it->second == 0)
            names.erase(it);
    };
    drop(m_longNames, nameKey(entry.longName));
    drop(m_shortNames, shortKey(entry.shortBase, entry.shortExtension));
}

std::string PlayerState::entryLine(const StoredEntry& e)
{
    return std::to_string(e.blob) + ' ' + std::to_string(e.size) + ' ' + encode(e.shortBase) + ' ' +
           encode(e.shortExtension) + ' ' + encode(e.longName);
}

void PlayerState::appendEntry(StoredEntry entry)
{
    index(entry);
    if (m_noting)
        m_changes += "entry " + entryLine(entry) + '\n';
    m_entries.push_back(std::move(entry));
}

void PlayerState::eraseEntry(std::size_t at)
{
    unindex(m_entries[at]);
    m_entries.erase(m_entries.begin() + std::ptrdiff_t(at));
    if (m_noting)
        m_changes += "delete " + std::to_string(at) + '\n';
}

void PlayerState::swapWithNext(std::size_t at)
{
    std::swap(m_entries[at], m_entries[at + 1]);
    if (m_noting)
        m_changes += "swap " + std::to_string(at) + '\n';
}

void PlayerState::renameEntry(std::size_t at, std::string longName, const ShortName::Name& name)
{
    StoredEntry& entry = m_entries[at];
    unindex(entry);
    entry.longName = std::move(longName);
    entry.shortBase = name.base;
    entry.shortExtension = name.extension;
    index(entry);
    if (m_noting)
        m_changes += "rename " + std::to_string(at) + ' ' + encode(entry.shortBase) + ' ' +
                     encode(entry.shortExtension) + ' ' + encode(entry.longName) + '\n';
}

void PlayerState::clearEntries()
{
    m_entries.clear();
    m_longNames.clear();
    m_shortNames.clear();
    m_namesIndexed = true;
    m_tailHints.clear();
    m_unitsInUse = 0;
    m_countedGeometry = geometry;
    if (m_noting)
        m_changes += "clear\n";
}

bool PlayerState::holdsLongName(std::string_view longName, const StoredEntry* except) const
{
    indexNames();
    const auto it = m_longNames.find(nameKey(longName));
    if (it == m_longNames.end())
        return false;
    // The entry itself does not count against its own new name.
    return !(except && it->second == 1 && nameKey(except->longName) == it->first);
}

bool PlayerState::holdsShortName(const ShortName::Name& name, const StoredEntry* except) const
{
    indexNames();
    const std::string key = shortKey(name.base, name.extension);
    const auto it = m_shortNames.find(key);
    if (it == m_shortNames.end())
        return false;
    return !(except && it->second == 1 && shortKey(except->shortBase, except->shortExtension) == key);
}

ShortName::Name PlayerState::makeShortName(std::string_view longName, const StoredEntry* except)
{
    // The entry's own name is free for it again, so the hints must not skip past it.
    if (except)
        m_tailHints.released({except->shortBase, except->shortExtension});
    return ShortName::make(
        longName, [&](const ShortName::Name& candidate) { return holdsShortName(candidate, except); },
        &m_tailHints);
}

std::uint64_t PlayerState::unitsInUse() const
{
    countUnits();
    return m_unitsInUse;
}

std::uint64_t PlayerState::freeUnits() const
{
    const std::uint64_t used = unitsInUse();
    return used >= geometry.unitCount ? 0 : geometry.unitCount - used;
}

bool PlayerState::takeFailure(std::string_view call)
{
    const auto it = failures.find(std::string(call));
    if (it == failures.end())
        return false;
    if (--it->second > 0)
        return false;
    failures.erase(it);
    return true;
}

std::string PlayerState::settingsLines() const
{
    // Appended piece by piece: one long chain of temporaries trips GCC 12's restrict warning in
    // the 32-bit Windows build.
    std::string out;
    const auto line = [&out](const char* key, const std::string& value) {
        out.append(key).append(1, ' ').append(value).append(1, '\n');
    };
    line("attached", std::to_string(attached ? 1 : 0));
    line("generation", std::to_string(generation));
    line("geometry", std::to_string(geometry.unitCount) + ' ' + std::to_string(geometry.unitSize) + ' ' +
                         std::to_string(geometry.factor1) + ' ' + std::to_string(geometry.factor2));
    line("next-blob", std::to_string(nextBlob));
    line("speed", std::to_string(bytesPerSecond));
    if (!firmwareName.empty())
        line("firmware", std::to_string(firmwareSize) + ' ' + encode(firmwareName));
    for (const auto& [call, left] : failures)
        line("fail", call + ' ' + std::to_string(left));
    return out;
}

std::string PlayerState::serialize() const
{
    std::string out = settingsLines();
    for (const StoredEntry& e : m_entries)
        out += "entry " + entryLine(e) + '\n';
    return out;
}

std::string PlayerState::takeEntryChanges()
{
    std::string changes;
    changes.swap(m_changes);
    return changes;
}

bool PlayerState::applyLine(std::string_view line, bool journal)
{
    m_noting = false;
    const bool applied = applyFileLine(line, journal);
    m_noting = true;
    return applied;
}

bool PlayerState::applyFileLine(std::string_view line, bool journal)
{
    const Fields f(line);
    const std::string_view key = f[0];
    if (key == "entry") {
        if (f.size() != 6)
            return false;
        const auto blob = number<std::uint64_t>(f[1]);
        const auto size = number<std::uint64_t>(f[2]);
        auto base = decode(f[3]);
        auto extension = decode(f[4]);
        auto longName = decode(f[5]);
        if (!blob || !size || !base || !extension || !longName)
            return false;
        appendEntry({std::move(*longName), std::move(*base), std::move(*extension), *size, *blob});
        return true;
    }
    if (key == "geometry") {
        if (f.size() != 5)
            return false;
        const auto count = number<std::uint16_t>(f[1]);
        const auto size = number<std::uint16_t>(f[2]);
        const auto factor1 = number<std::uint8_t>(f[3]);
        const auto factor2 = number<std::uint8_t>(f[4]);
        if (!count || !size || !factor1 || !factor2)
            return false;
        geometry = {*count, *size, *factor1, *factor2};
        return geometry.valid();
    }
    if (key == "firmware") {
        if (f.size() != 3)
            return false;
        const auto size = number<std::uint64_t>(f[1]);
        auto name = decode(f[2]);
        if (!size || !name)
            return false;
        firmwareSize = *size;
        firmwareName = std::move(*name);
        return true;
    }
    if (key == "fail") {
        const auto left = f.size() == 3 ? number<std::uint32_t>(f[2]) : std::nullopt;
        if (!left || (*left == 0 && !journal))
            return false;
        if (*left == 0)
            failures.erase(std::string(f[1]));
        else
            failures[std::string(f[1])] = *left;
        return true;
    }
    if (journal && key == "clear" && f.size() == 1) {
        clearEntries();
        return true;
    }
    if (journal && key == "rename" && f.size() == 5) {
        const auto at = number<std::size_t>(f[1]);
        auto base = decode(f[2]);
        auto extension = decode(f[3]);
        auto longName = decode(f[4]);
        if (!at || *at >= m_entries.size() || !base || !extension || !longName)
            return false;
        renameEntry(*at, std::move(*longName), {std::move(*base), std::move(*extension)});
        return true;
    }
    if (f.size() != 2)
        return false;
    const auto value = number<std::uint64_t>(f[1]);
    if (!value)
        return false;
    if (journal && key == "delete") {
        if (*value >= m_entries.size())
            return false;
        eraseEntry(std::size_t(*value));
    } else if (journal && key == "swap") {
        if (*value + 1 >= m_entries.size())
            return false;
        swapWithNext(std::size_t(*value));
    } else if (key == "attached") {
        attached = *value != 0;
    } else if (key == "generation") {
        generation = std::uint32_t(*value);
    } else if (key == "next-blob") {
        nextBlob = *value;
    } else if (key == "speed") {
        bytesPerSecond = *value;
    } else {
        return false;
    }
    return true;
}

std::optional<PlayerState> PlayerState::parse(std::string_view text)
{
    auto contents = StateFile::parse(text);
    if (!contents)
        return std::nullopt;
    return std::move(contents->state);
}
