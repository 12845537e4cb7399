// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The pipe protocol between a program and zvd-devhost, which serves the device library to it.
// Every message is a frame: a 32-bit length, then that many bytes. The client speaks first with a
// hello carrying the protocol version; the host answers with its own and whether its library is
// ready. Then each request names one library function and carries its arguments, and its reply
// carries the status and every out-parameter and buffer. All integers are little-endian; strings
// are a 32-bit length (0xFFFFFFFF for a null pointer) and their bytes. Plain C++, no Qt: both the
// host and the Qt client use this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace devhost
{

inline constexpr std::uint32_t Magic = 0x4844565a; // "ZVDH"
inline constexpr std::uint32_t ProtocolVersion = 1;
// Big enough for the largest listing a client asks for (262,144 entries of 300 bytes); anything
// longer is garbage, not a message.
inline constexpr std::uint32_t MaxFrame = 128u * 1024 * 1024;
inline constexpr std::uint32_t EntryBytes = 300;
inline constexpr std::uint32_t MediumInfoBytes = 62;
inline constexpr std::uint32_t NullString = 0xffffffffu;

enum class Call : std::uint8_t {
    Hello = 0,
    StartDLL,
    ExitDLL,
    TestConnection,
    Open,
    Close,
    GetMediumInfo,
    Refresh,
    Rename,
    Replace,
    Delete,
    Download,
    Upload,
    Format,
    FormatLow,
    ConvertHexToBin,
    UpgradeFirmware,
    Last = UpgradeFirmware,
};

// Builds one message body.
class Writer
{
public:
    explicit Writer(Call call) { u8(static_cast<std::uint8_t>(call)); }

    void u8(std::uint8_t value) { m_bytes.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            u8(static_cast<std::uint8_t>(value >> shift));
    }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void i16(std::int16_t value)
    {
        u8(static_cast<std::uint8_t>(static_cast<std::uint16_t>(value)));
        u8(static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8));
    }
    void u64(std::uint64_t value)
    {
        u32(static_cast<std::uint32_t>(value));
        u32(static_cast<std::uint32_t>(value >> 32));
    }
    void raw(const void* data, std::size_t size) { m_bytes.append(static_cast<const char*>(data), size); }
    void str(const char* text)
    {
        if (!text) {
            u32(NullString);
            return;
        }
        const std::size_t size = std::strlen(text);
        u32(static_cast<std::uint32_t>(size));
        raw(text, size);
    }

    // The body with its length in front, ready to be written.
    std::string frame() const
    {
        std::string framed(4, '\0');
        const auto size = static_cast<std::uint32_t>(m_bytes.size());
        for (int i = 0; i < 4; ++i)
            framed[i] = static_cast<char>(size >> (8 * i));
        return framed + m_bytes;
    }
    const std::string& body() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Reads one message body by bounded reads: a read past the end, or a string longer than what is
// left, makes the reader fail and every later read return zeros.
class Reader
{
public:
    Reader(const void* data, std::size_t size) : m_data(static_cast<const unsigned char*>(data)), m_size(size)
    {
    }

    std::uint8_t u8()
    {
        if (!take(1))
            return 0;
        return m_data[m_pos - 1];
    }
    std::uint32_t u32()
    {
        if (!take(4))
            return 0;
        const unsigned char* p = m_data + m_pos - 4;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::int16_t i16()
    {
        if (!take(2))
            return 0;
        const unsigned char* p = m_data + m_pos - 2;
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
    }
    std::uint64_t u64()
    {
        const std::uint64_t low = u32();
        return low | std::uint64_t(u32()) << 32;
    }
    bool raw(void* out, std::size_t size)
    {
        if (!take(size))
            return false;
        std::memcpy(out, m_data + m_pos - size, size);
        return true;
    }
    // Nothing for a null string (or a failed read).
    std::optional<std::string> str()
    {
        const std::uint32_t size = u32();
        if (!m_ok || size == NullString)
            return std::nullopt;
        if (!take(size))
            return std::nullopt;
        return std::string(reinterpret_cast<const char*>(m_data + m_pos - size), size);
    }

    bool ok() const { return m_ok; }
    // Every byte read and nothing more: a well-formed message.
    bool complete() const { return m_ok && m_pos == m_size; }
    std::size_t remaining() const { return m_ok ? m_size - m_pos : 0; }

private:
    bool take(std::size_t size)
    {
        if (!m_ok || size > m_size - m_pos) {
            m_ok = false;
            return false;
        }
        m_pos += size;
        return true;
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

// The 32-bit length at the front of a frame.
inline std::uint32_t frameLength(const unsigned char header[4])
{
    return std::uint32_t(header[0]) | std::uint32_t(header[1]) << 8 | std::uint32_t(header[2]) << 16 |
           std::uint32_t(header[3]) << 24;
}

} // namespace devhost
