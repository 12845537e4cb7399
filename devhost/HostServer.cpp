// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "devhost/HostServer.h"

#include "devhost/HostProtocol.h"

#include <algorithm>
#include <vector>

namespace devhost
{

namespace
{

// A string argument as the library wants it: a pointer that stays valid through the call, null
// where the client passed null.
struct Text {
    std::optional<std::string> value;
    const char* get() const { return value ? value->c_str() : nullptr; }
};

void* ownerOf(std::uint64_t value)
{
    // Window handles carry 32 significant bits on every Windows, so a 32-bit host may narrow them.
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(value));
}

} // namespace

HostServer::HostServer(const DeviceFunctions* functions, std::string loadError,
                       std::function<std::string(const std::string&)> toLibraryPath)
    : m_functions(functions), m_loadError(std::move(loadError)), m_toLibraryPath(std::move(toLibraryPath))
{
}

int HostServer::run(const Channel& channel)
{
    for (;;) {
        unsigned char header[4];
        if (!channel.read(header, sizeof header))
            return 0;
        const std::uint32_t length = frameLength(header);
        if (length == 0 || length > MaxFrame) {
            m_error = "a request of " + std::to_string(length) + " bytes is not a message";
            return 1;
        }
        std::string body(length, '\0');
        if (!channel.read(body.data(), length))
            return 0;
        const std::optional<std::string> reply = answer(body);
        if (!reply) {
            if (m_error.empty())
                m_error = "a malformed request";
            return 1;
        }
        std::string framed(4, '\0');
        for (int i = 0; i < 4; ++i)
            framed[i] = static_cast<char>(reply->size() >> (8 * i));
        framed += *reply;
        if (!channel.write(framed.data(), framed.size()))
            return 0;
        if (m_stop)
            return 3;
    }
}

std::optional<std::string> HostServer::answerHello(const std::string& body)
{
    Reader in(body.data(), body.size());
    in.u8();
    const std::uint32_t magic = in.u32();
    const std::uint32_t version = in.u32();
    if (!in.complete() || magic != Magic) {
        m_error = "the client's hello is not one of this protocol";
        return std::nullopt;
    }
    m_greeted = true;
    Writer out(Call::Hello);
    out.u32(Magic);
    out.u32(ProtocolVersion);
    if (version != ProtocolVersion) {
        // Answered, so the client can say which versions met, then the host ends.
        m_error = "the client speaks protocol version " + std::to_string(version) + ", this host " +
                  std::to_string(ProtocolVersion);
        m_stop = true;
        out.u8(0);
        out.str(m_error.c_str());
    } else if (!m_functions) {
        m_error = m_loadError;
        m_stop = true;
        out.u8(0);
        out.str(m_loadError.c_str());
    } else {
        out.u8(1);
        out.str("");
    }
    return out.body();
}

std::optional<std::string> HostServer::answer(const std::string& body)
{
    if (body.empty() || static_cast<std::uint8_t>(body[0]) > static_cast<std::uint8_t>(Call::Last))
        return std::nullopt;
    const auto call = static_cast<Call>(body[0]);
    if (call == Call::Hello)
        return answerHello(body);
    if (!m_greeted || !m_functions)
        return std::nullopt;
    const DeviceFunctions& f = *m_functions;
    Reader in(body.data() + 1, body.size() - 1);
    Writer out(call);
    // Reads a string argument; paths go through the translation first.
    auto text = [&](bool isPath) {
        Text t{in.str()};
        if (isPath && t.value)
            t.value = m_toLibraryPath(*t.value);
        return t;
    };

    switch (call) {
    case Call::StartDLL:
    case Call::ExitDLL:
    case Call::TestConnection: {
        if (!in.complete())
            return std::nullopt;
        const auto function = call == Call::StartDLL  ? f.StartDLL
                              : call == Call::ExitDLL ? f.ExitDLL
                                                      : f.TestConnection;
        out.i16(function());
        break;
    }
    case Call::Open: {
        if (!in.complete())
            return std::nullopt;
        std::int32_t handle = 0;
        out.i16(f.Open(&handle));
        out.i32(handle);
        break;
    }
    case Call::Close: {
        const std::int32_t handle = in.i32();
        if (!in.complete())
            return std::nullopt;
        out.i16(f.Close(handle));
        break;
    }
    case Call::GetMediumInfo: {
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        MediumInfo info{};
        in.raw(info.bytes, sizeof info.bytes);
        if (!in.complete())
            return std::nullopt;
        out.i16(f.GetMediumInfo(handle, medium, info.bytes));
        out.raw(info.bytes, sizeof info.bytes);
        break;
    }
    case Call::Refresh: {
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        std::int32_t total = in.i32();
        const std::int32_t capacity = in.i32();
        if (!in.complete())
            return std::nullopt;
        // The reply must fit one frame; a client never asks for more than that.
        const std::int32_t limit = static_cast<std::int32_t>((MaxFrame - 64) / EntryBytes);
        std::int32_t count = std::clamp(capacity, 0, limit);
        std::vector<PlayerEntry> entries(static_cast<std::size_t>(std::max(count, 1)));
        const std::int32_t asked = count;
        out.i16(f.Refresh(handle, medium, &total, entries.data(), &count));
        // Entries the library wrote, from entry 0; never more than the buffer holds.
        const std::int32_t written = std::clamp(count, 0, asked);
        out.i32(total);
        out.i32(count);
        out.u32(static_cast<std::uint32_t>(written));
        out.raw(entries.data(), static_cast<std::size_t>(written) * EntryBytes);
        break;
    }
    case Call::Rename: {
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        const std::int32_t index = in.i32();
        const Text name = text(false);
        PlayerEntry entry{};
        in.raw(entry.bytes, sizeof entry.bytes);
        if (!in.complete())
            return std::nullopt;
        out.i16(f.Rename(handle, medium, index, name.get(), &entry));
        out.raw(entry.bytes, sizeof entry.bytes);
        break;
    }
    case Call::Replace: {
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        const std::int32_t a = in.i32();
        const std::int32_t b = in.i32();
        if (!in.complete())
            return std::nullopt;
        out.i16(f.Replace(handle, medium, a, b));
        break;
    }
    case Call::Delete: {
        void* owner = ownerOf(in.u64());
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        const std::int32_t index = in.i32();
        const Text name = text(false);
        if (!in.complete())
            return std::nullopt;
        out.i16(f.Delete(owner, handle, medium, index, name.get()));
        break;
    }
    case Call::Download: {
        void* owner = ownerOf(in.u64());
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        const Text path = text(true);
        if (!in.complete())
            return std::nullopt;
        out.i16(f.Download(owner, handle, medium, path.get()));
        break;
    }
    case Call::Upload: {
        void* owner = ownerOf(in.u64());
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        const std::int32_t index = in.i32();
        const Text path = text(true);
        const Text name = text(false);
        const std::int32_t byteCount = in.i32();
        const std::int32_t zero = in.i32();
        if (!in.complete())
            return std::nullopt;
        out.i16(f.Upload(owner, handle, medium, index, path.get(), name.get(), byteCount, zero));
        break;
    }
    case Call::Format:
    case Call::FormatLow: {
        void* owner = ownerOf(in.u64());
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        if (!in.complete())
            return std::nullopt;
        out.i16((call == Call::Format ? f.Format : f.FormatLow)(owner, handle, medium));
        break;
    }
    case Call::ConvertHexToBin: {
        const Text firmware = text(true);
        const Text image = text(true);
        const std::int32_t blockSize = in.i32();
        if (!in.complete())
            return std::nullopt;
        out.i16(f.ConvertHexToBin(firmware.get(), image.get(), blockSize));
        break;
    }
    case Call::UpgradeFirmware: {
        void* owner = ownerOf(in.u64());
        const std::int32_t handle = in.i32();
        const std::int32_t medium = in.i32();
        const std::int32_t zero = in.i32();
        const Text image = text(true);
        const Text firmware = text(true);
        if (!in.complete())
            return std::nullopt;
        out.i16(f.UpgradeFirmware(owner, handle, medium, zero, image.get(), firmware.get()));
        break;
    }
    case Call::Hello:
        break;
    }
    return out.body();
}

} // namespace devhost
