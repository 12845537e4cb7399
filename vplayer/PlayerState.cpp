// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "PlayerState.h"

#include <charconv>
#include <sstream>

namespace
{

constexpr std::string_view kMagic = "zvd-virtual-player 1";
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
    std::string out;
    for (std::size_t i = 1; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const int high = hexValue(field[i + 1]);
        const int low = hexValue(field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += char(high * 16 + low);
        i += 2;
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

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        out.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool parseEntry(const std::vector<std::string_view>& f, PlayerState& state)
{
    if (f.size() != 6)
        return false;
    const auto blob = number<std::uint64_t>(f[1]);
    const auto size = number<std::uint64_t>(f[2]);
    auto base = decode(f[3]);
    auto extension = decode(f[4]);
    auto longName = decode(f[5]);
    if (!blob || !size || !base || !extension || !longName)
        return false;
    state.entries.push_back({std::move(*longName), std::move(*base), std::move(*extension), *size, *blob});
    return true;
}

bool parseGeometry(const std::vector<std::string_view>& f, PlayerState& state)
{
    if (f.size() != 5)
        return false;
    const auto count = number<std::uint16_t>(f[1]);
    const auto size = number<std::uint16_t>(f[2]);
    const auto factor1 = number<std::uint8_t>(f[3]);
    const auto factor2 = number<std::uint8_t>(f[4]);
    if (!count || !size || !factor1 || !factor2)
        return false;
    state.geometry = {*count, *size, *factor1, *factor2};
    return state.geometry.valid();
}

bool parseFirmware(const std::vector<std::string_view>& f, PlayerState& state)
{
    if (f.size() != 3)
        return false;
    const auto size = number<std::uint64_t>(f[1]);
    auto name = decode(f[2]);
    if (!size || !name)
        return false;
    state.firmwareSize = *size;
    state.firmwareName = std::move(*name);
    return true;
}

bool parseLine(const std::vector<std::string_view>& f, PlayerState& state)
{
    const std::string_view key = f[0];
    if (key == "entry")
        return parseEntry(f, state);
    if (key == "geometry")
        return parseGeometry(f, state);
    if (key == "firmware")
        return parseFirmware(f, state);
    if (f.size() != 2 && !(key == "fail" && f.size() == 3))
        return false;
    if (key == "fail") {
        const auto left = number<std::uint32_t>(f[2]);
        if (!left || *left == 0)
            return false;
        state.failures[std::string(f[1])] = *left;
        return true;
    }
    const auto value = number<std::uint64_t>(f[1]);
    if (!value)
        return false;
    if (key == "attached")
        state.attached = *value != 0;
    else if (key == "generation")
        state.generation = std::uint32_t(*value);
    else if (key == "next-blob")
        state.nextBlob = *value;
    else if (key == "speed")
        state.bytesPerSecond = *value;
    else
        return false;
    return true;
}

} // namespace

std::uint64_t PlayerState::unitsInUse() const
{
    std::uint64_t units = 0;
    for (const StoredEntry& entry : entries)
        units += geometry.unitsFor(entry.size);
    return units;
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

std::string PlayerState::serialize() const
{
    std::ostringstream out;
    out << kMagic << '\n'
        << "attached " << (attached ? 1 : 0) << '\n'
        << "generation " << generation << '\n'
        << "geometry " << geometry.unitCount << ' ' << geometry.unitSize << ' ' << unsigned(geometry.factor1)
        << ' ' << unsigned(geometry.factor2) << '\n'
        << "next-blob " << nextBlob << '\n'
        << "speed " << bytesPerSecond << '\n';
    if (!firmwareName.empty())
        out << "firmware " << firmwareSize << ' ' << encode(firmwareName) << '\n';
    for (const auto& [call, left] : failures)
        out << "fail " << call << ' ' << left << '\n';
    for (const StoredEntry& e : entries)
        out << "entry " << e.blob << ' ' << e.size << ' ' << encode(e.shortBase) << ' '
            << encode(e.shortExtension) << ' ' << encode(e.longName) << '\n';
    return out.str();
}

std::optional<PlayerState> PlayerState::parse(std::string_view text)
{
    PlayerState state;
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kMagic)
                return std::nullopt;
            first = false;
            continue;
        }
        if (!line.empty() && !parseLine(fields(line), state))
            return std::nullopt;
    }
    if (first)
        return std::nullopt;
    return state;
}
