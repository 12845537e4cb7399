// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/IntelHex.h"

#include <algorithm>
#include <vector>

namespace IntelHex
{
namespace
{

enum RecordType : std::uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegment = 0x02,
    StartSegment = 0x03,
    ExtendedLinear = 0x04,
    StartLinear = 0x05,
};

struct Record {
    std::uint8_t type = 0;
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> data;
};

int nibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Parses ":LLAAAATT<data>CC"; the sum of all bytes including the checksum must be 0 mod 256.
std::optional<Record> parseRecord(std::string_view line, std::string& why)
{
    if (line.size() < 11 || line[0] != ':' || (line.size() - 1) % 2 != 0) {
        why = "malformed record";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i + 1 < line.size(); i += 2) {
        const int high = nibble(line[i]);
        const int low = nibble(line[i + 1]);
        if (high < 0 || low < 0) {
            why = "not a hexadecimal digit";
            return std::nullopt;
        }
        bytes.push_back(std::uint8_t(high * 16 + low));
    }
    if (bytes.size() != std::size_t(bytes[0]) + 5) {
        why = "record length does not match its byte count";
        return std::nullopt;
    }
    std::uint8_t sum = 0;
    for (const std::uint8_t b : bytes)
        sum = std::uint8_t(sum + b);
    if (sum != 0) {
        why = "checksum mismatch";
        return std::nullopt;
    }
    return Record{bytes[3], std::uint16_t(bytes[1] << 8 | bytes[2]),
                  std::vector<std::uint8_t>(bytes.begin() + 4, bytes.end() - 1)};
}

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

class Collector
{
public:
    bool apply(const Record& record, std::string& why);
    bool finished() const { return m_finished; }
    std::optional<std::string> image(std::uint32_t blockSize, std::string& why) const;

private:
    struct Chunk {
        std::uint64_t address;
        std::vector<std::uint8_t> data;
    };
    std::uint64_t m_base = 0;
    bool m_finished = false;
    std::vector<Chunk> m_chunks;
};

bool Collector::apply(const Record& record, std::string& why)
{
    const auto word = [&] { return std::uint64_t(record.data[0]) << 8 | record.data[1]; };
    switch (record.type) {
    case Data:
        if (!record.data.empty())
            m_chunks.push_back({m_base + record.offset, record.data});
        return true;
    case EndOfFile:
        m_finished = true;
        return true;
    case ExtendedSegment:
    case ExtendedLinear:
        if (record.data.size() != 2) {
            why = "address record of the wrong length";
            return false;
        }
        m_base = record.type == ExtendedSegment ? word() << 4 : word() << 16;
        return true;
    case StartSegment:
    case StartLinear:
        return true;
    default:
        why = "unknown record type";
        return false;
    }
}

std::optional<std::string> Collector::image(std::uint32_t blockSize, std::string& why) const
{
    if (m_chunks.empty()) {
        why = "no data records";
        return std::nullopt;
    }
    std::vector<const Chunk*> sorted;
    for (const Chunk& chunk : m_chunks)
        sorted.push_back(&chunk);
    std::sort(sorted.begin(), sorted.end(),
              [](const Chunk* a, const Chunk* b) { return a->address < b->address; });
    std::uint64_t end = 0;
    for (const Chunk* chunk : sorted) {
        // Two records writing the same address mean a damaged or mis-merged file.
        if (chunk != sorted.front() && chunk->address < end) {
            why = "data records overlap";
            return std::nullopt;
        }
        end = chunk->address + chunk->data.size();
    }
    const std::uint64_t first = sorted.front()->address;
    const std::uint64_t padded = (end - first + blockSize - 1) / blockSize * blockSize;
    if (padded > kMaxImage) {
        why = "image too large";
        return std::nullopt;
    }
    std::string image(std::size_t(padded), '\xFF');
    for (const Chunk* chunk : sorted)
        std::copy(chunk->data.begin(), chunk->data.end(),
                  image.begin() + std::ptrdiff_t(chunk->address - first));
    return image;
}

} // namespace

std::optional<std::string> toBinary(std::string_view text, std::uint32_t blockSize, std::string* error)
{
    std::string why;
    Collector collector;
    std::size_t start = 0;
    unsigned lineNumber = 0;
    while (start < text.size() && !collector.finished() && why.empty()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty())
            continue;
        const auto record = parseRecord(line, why);
        if (record)
            collector.apply(*record, why);
        if (!why.empty())
            why = "line " + std::to_string(lineNumber) + ": " + why;
    }
    if (why.empty() && blockSize == 0)
        why = "block size 0";
    if (why.empty() && !collector.finished())
        why = "no end-of-file record (truncated file)";
    std::optional<std::string> image;
    if (why.empty())
        image = collector.image(blockSize, why);
    if (!image && error)
        *error = why;
    return image;
}

} // namespace IntelHex
