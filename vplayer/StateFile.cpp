// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/StateFile.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <random>

namespace StateFile
{
namespace
{

constexpr std::string_view kFirstMagic = "zvd-virtual-player 1";
constexpr std::string_view kMagic = "zvd-virtual-player 2 ";
constexpr std::string_view kJournal = "journal";
constexpr std::string_view kRecord = "record ";
// A record holds one change: a few lines. Anything claiming more is damage, not a change.
constexpr std::uint64_t kMaxRecord = 1u << 20;

template <typename T> std::optional<T> number(std::string_view text, int base = 10)
{
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string hex(std::uint64_t value, int digits)
{
    char text[17];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

// Applies each line of lines; false at the first that does not apply.
bool applyLines(PlayerState& state, std::string_view lines, bool journal)
{
    std::size_t start = 0;
    while (start < lines.size()) {
        const std::size_t end = lines.find('\n', start);
        if (end == std::string_view::npos)
            return false;
        const std::string_view line = lines.substr(start, end - start);
        if (!line.empty() && !state.applyLine(line, journal))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

std::uint32_t crc32(std::string_view bytes)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint64_t newEpoch()
{
    static std::mt19937_64 generator{
        std::random_device{}() ^ std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::uint64_t epoch = 0;
    while (epoch == 0)
        epoch = generator();
    return epoch;
}

std::string snapshot(const PlayerState& state, std::uint64_t epoch)
{
    return std::string(kMagic) + hex(epoch, 16) + '\n' + state.serialize() + std::string(kJournal) + '\n';
}

std::string record(std::string_view lines)
{
    return std::string(kRecord) + std::to_string(lines.size()) + ' ' + hex(crc32(lines), 8) + '\n' +
           std::string(lines);
}

std::optional<std::uint64_t> epochOf(std::string_view head)
{
    if (head.substr(0, kMagic.size()) != kMagic)
        return std::nullopt;
    const std::string_view digits = head.substr(kMagic.size(), 16);
    const auto epoch = number<std::uint64_t>(digits, 16);
    if (digits.size() != 16 || !epoch || *epoch == 0 || head.substr(kMagic.size() + 16, 1) != "\n")
        return std::nullopt;
    return epoch;
}

bool applyJournal(Contents& contents, std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos)
            break; // a header cut short
        const std::string_view header = text.substr(at, lineEnd - at);
        if (header.substr(0, kRecord.size()) != kRecord)
            return false;
        const std::string_view fields = header.substr(kRecord.size());
        const std::size_t space = fields.find(' ');
        const auto bytes = number<std::uint64_t>(fields.substr(0, std::min(space, fields.size())));
        const auto crc = space == std::string_view::npos
                             ? std::nullopt
                             : number<std::uint32_t>(fields.substr(space + 1), 16);
        if (!bytes || !crc || *bytes > kMaxRecord || fields.size() - space - 1 != 8)
            return false;
        const std::size_t bodyStart = lineEnd + 1;
        if (text.size() - bodyStart < *bytes)
            break; // the record's lines cut short
        const std::string_view body = text.substr(bodyStart, std::size_t(*bytes));
        if (crc32(body) != *crc || (!body.empty() && body.back() != '\n'))
            return false;
        if (!applyLines(contents.state, body, true))
            return false;
        at = bodyStart + std::size_t(*bytes);
    }
    contents.end += at;
    contents.state.takeEntryChanges();
    return true;
}

std::optional<Contents> parse(std::string_view text)
{
    Contents contents;
    const std::size_t headEnd = text.find('\n');
    if (headEnd == std::string_view::npos)
        return std::nullopt;
    const std::string_view head = text.substr(0, headEnd);
    if (head == kFirstMagic) {
        std::string lines(text.substr(headEnd + 1));
        if (!lines.empty() && lines.back() != '\n')
            lines += '\n';
        if (!applyLines(contents.state, lines, false))
            return std::nullopt;
        contents.state.takeEntryChanges();
        contents.end = contents.journalStart = text.size();
        return contents;
    }
    const auto epoch = epochOf(text);
    if (!epoch)
        return std::nullopt;
    contents.epoch = *epoch;
    std::size_t start = headEnd + 1;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return std::nullopt; // a snapshot without its end: damaged
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line == kJournal)
            break;
        if (!line.empty() && !contents.state.applyLine(line, false))
            return std::nullopt;
    }
    contents.state.takeEntryChanges();
    contents.end = contents.journalStart = start;
    if (!applyJournal(contents, text.substr(start)))
        return std::nullopt;
    return contents;
}

} // namespace StateFile
