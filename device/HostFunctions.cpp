// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device library's functions as requests to the host: arguments go into the request, the
// status and every out-parameter and buffer come back from the reply. A reply of the wrong shape
// stops the host, and the call fails like a failed library call.
#include "device/DeviceHost.h"

#include "devhost/HostProtocol.h"

#include <cstring>

using devhost::Call;
using devhost::Reader;
using devhost::Writer;

namespace
{

// Sends the request; on a well-formed reply, `read` takes the out-parameters (after the status)
// and the status is returned. 0 when the host is gone or the reply is malformed.
template <typename ReadOuts> int16_t exchange(const Writer& request, Call call, ReadOuts read)
{
    DeviceHost& host = DeviceHost::instance();
    const auto held = host.lock();
    const std::optional<QByteArray> reply = host.call(request.frame(), static_cast<std::uint8_t>(call));
    if (!reply)
        return 0;
    Reader in(reply->constData() + 1, std::size_t(reply->size() - 1));
    const int16_t status = in.i16();
    if (!read(in) || !in.complete()) {
        host.rejectReply();
        return 0;
    }
    return status;
}

bool noOuts(Reader&)
{
    return true;
}

std::uint64_t ownerValue(void* owner)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(owner));
}

int16_t ZVD_STDCALL hostStartDLL()
{
    const auto held = DeviceHost::instance().lock();
    const int16_t status = exchange(Writer(Call::StartDLL), Call::StartDLL, noOuts);
    DeviceHost::instance().noteStarted(true);
    return status;
}

int16_t ZVD_STDCALL hostExitDLL()
{
    const auto held = DeviceHost::instance().lock();
    DeviceHost::instance().noteStarted(false);
    return exchange(Writer(Call::ExitDLL), Call::ExitDLL, noOuts);
}

int16_t ZVD_STDCALL hostTestConnection()
{
    return DeviceHost::instance().testConnection();
}

int16_t ZVD_STDCALL hostOpen(int32_t* handle)
{
    return exchange(Writer(Call::Open), Call::Open, [handle](Reader& in) {
        const int32_t value = in.i32();
        if (handle && in.ok())
            *handle = value;
        return true;
    });
}

int16_t ZVD_STDCALL hostClose(int32_t handle)
{
    Writer request(Call::Close);
    request.i32(handle);
    return exchange(request, Call::Close, noOuts);
}

int16_t ZVD_STDCALL hostGetMediumInfo(int32_t handle, int32_t medium, uint8_t* info)
{
    Writer request(Call::GetMediumInfo);
    request.i32(handle);
    request.i32(medium);
    uint8_t buffer[devhost::MediumInfoBytes] = {};
    if (info)
        std::memcpy(buffer, info, sizeof buffer);
    request.raw(buffer, sizeof buffer);
    return exchange(request, Call::GetMediumInfo, [info](Reader& in) {
        uint8_t answered[devhost::MediumInfoBytes];
        if (!in.raw(answered, sizeof answered))
            return false;
        if (info)
            std::memcpy(info, answered, sizeof answered);
        return true;
    });
}

int16_t ZVD_STDCALL hostRefresh(int32_t handle, int32_t medium, int32_t* total, PlayerEntry* entries,
                                int32_t* count)
{
    const int32_t capacity = count && entries ? *count : 0;
    Writer request(Call::Refresh);
    request.i32(handle);
    request.i32(medium);
    request.i32(total ? *total : 0);
    request.i32(capacity);
    return exchange(request, Call::Refresh, [&](Reader& in) {
        const int32_t newTotal = in.i32();
        const int32_t newCount = in.i32();
        const std::uint32_t written = in.u32();
        // Never more entries than the caller's buffer holds, and exactly as many as announced.
        if (!in.ok() || written > std::uint32_t(std::max(capacity, 0)) ||
            in.remaining() != std::size_t(written) * devhost::EntryBytes)
            return false;
        if (written > 0)
            in.raw(entries, std::size_t(written) * devhost::EntryBytes);
        if (total)
            *total = newTotal;
        if (count)
            *count = newCount;
        return true;
    });
}

int16_t ZVD_STDCALL hostRename(int32_t handle, int32_t medium, int32_t index, const char* newName,
                               PlayerEntry* entry)
{
    Writer request(Call::Rename);
    request.i32(handle);
    request.i32(medium);
    request.i32(index);
    request.str(newName);
    PlayerEntry buffer{};
    if (entry)
        buffer = *entry;
    request.raw(buffer.bytes, sizeof buffer.bytes);
    return exchange(request, Call::Rename, [entry](Reader& in) {
        PlayerEntry answered;
        if (!in.raw(answered.bytes, sizeof answered.bytes))
            return false;
        if (entry)
            *entry = answered;
        return true;
    });
}

int16_t ZVD_STDCALL hostReplace(int32_t handle, int32_t medium, int32_t a, int32_t b)
{
    Writer request(Call::Replace);
    request.i32(handle);
    request.i32(medium);
    request.i32(a);
    request.i32(b);
    return exchange(request, Call::Replace, noOuts);
}

int16_t ZVD_STDCALL hostDelete(void* owner, int32_t handle, int32_t medium, int32_t index, const char* name)
{
    Writer request(Call::Delete);
    request.u64(ownerValue(owner));
    request.i32(handle);
    request.i32(medium);
    request.i32(index);
    request.str(name);
    return exchange(request, Call::Delete, noOuts);
}

int16_t ZVD_STDCALL hostDownload(void* owner, int32_t handle, int32_t medium, const char* path)
{
    Writer request(Call::Download);
    request.u64(ownerValue(owner));
    request.i32(handle);
    request.i32(medium);
    request.str(path);
    return exchange(request, Call::Download, noOuts);
}

int16_t ZVD_STDCALL hostUpload(void* owner, int32_t handle, int32_t medium, int32_t index, const char* path,
                               const char* name, int32_t byteCount, int32_t zero)
{
    Writer request(Call::Upload);
    request.u64(ownerValue(owner));
    request.i32(handle);
    request.i32(medium);
    request.i32(index);
    request.str(path);
    request.str(name);
    request.i32(byteCount);
    request.i32(zero);
    return exchange(request, Call::Upload, noOuts);
}

int16_t ZVD_STDCALL hostFormat(void* owner, int32_t handle, int32_t medium)
{
    Writer request(Call::Format);
    request.u64(ownerValue(owner));
    request.i32(handle);
    request.i32(medium);
    return exchange(request, Call::Format, noOuts);
}

int16_t ZVD_STDCALL hostFormatLow(void* owner, int32_t handle, int32_t medium)
{
    Writer request(Call::FormatLow);
    request.u64(ownerValue(owner));
    request.i32(handle);
    request.i32(medium);
    return exchange(request, Call::FormatLow, noOuts);
}

int16_t ZVD_STDCALL hostConvertHexToBin(const char* firmwarePath, const char* imagePath, int32_t blockSize)
{
    Writer request(Call::ConvertHexToBin);
    request.str(firmwarePath);
    request.str(imagePath);
    request.i32(blockSize);
    return exchange(request, Call::ConvertHexToBin, noOuts);
}

int16_t ZVD_STDCALL hostUpgradeFirmware(void* owner, int32_t handle, int32_t medium, int32_t zero,
                                        const char* imagePath, const char* firmwarePath)
{
    Writer request(Call::UpgradeFirmware);
    request.u64(ownerValue(owner));
    request.i32(handle);
    request.i32(medium);
    request.i32(zero);
    request.str(imagePath);
    request.str(firmwarePath);
    return exchange(request, Call::UpgradeFirmware, noOuts);
}

} // namespace

DeviceFunctions DeviceHost::functions()
{
    return {hostStartDLL, hostExitDLL,       hostTestConnection,  hostOpen,
            hostClose,    hostGetMediumInfo, hostRefresh,         hostRename,
            hostReplace,  hostDelete,        hostDownload,        hostUpload,
            hostFormat,   hostFormatLow,     hostConvertHexToBin, hostUpgradeFirmware};
}
