// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The exported functions: each checks its handle and arguments, counts itself against the
// failures zvdsim armed, and hands the work to the shared player code. The player folder is
// looked up on every call, so a process sees ZVD_PLAYER_DIR as it is at the time.
#include "vplayer/ZvdUsb.h"

#include "vplayer/AnsiName.h"
#include "vplayer/EntryRecord.h"
#include "vplayer/FileSystem.h"
#include "vplayer/HandleTable.h"
#include "vplayer/IntelHex.h"
#include "vplayer/MediumRecord.h"
#include "vplayer/VirtualPlayer.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace
{

constexpr int16_t kOk = 1;
constexpr int16_t kFailed = 0;
constexpr std::uint64_t kMaxHexFile = 64u * 1024 * 1024;

HandleTable& handles()
{
    static HandleTable table;
    return table;
}

PlayerStore currentStore()
{
    return PlayerStore(PlayerStore::defaultFolder());
}

// Counts a call against the injected failures; false when this call is the one to fail.
bool admitted(std::string_view call)
{
    const PlayerStore store = currentStore();
    if (!FileSystem::isDirectory(store.folder()))
        return true;
    bool fails = false;
    store.transact(
        [&](PlayerStore::Transaction& t) {
            // Only an armed call writes the state; the one-second poll stays read-only.
            if (t.state.failures.count(std::string(call)) > 0) {
                fails = t.state.takeFailure(call);
                t.changed = true;
            }
            return std::string();
        },
        false);
    return !fails;
}

// The access an open handle gives on medium 0, or nothing for a handle this process did not
// issue or has closed.
std::optional<Access> connection(int32_t handle, int32_t medium)
{
    if (handle <= 0 || medium != 0)
        return std::nullopt;
    const auto generation = handles().generationOf(handle);
    if (!generation)
        return std::nullopt;
    return Access::connection(*generation);
}

// Runs look on the state as a connection sees it, without copying it; false when the
// connection is gone or the state cannot be read.
bool withConnectedState(const Access& access, const std::function<void(const PlayerState&)>& look)
{
    bool connected = false;
    const std::string error = currentStore().inspect([&](const PlayerState& state) {
        connected = checkAccess(state, access).empty();
        if (connected)
            look(state);
    });
    return error.empty() && connected;
}

// Whether the player is attached, and its attach generation.
std::optional<std::uint32_t> attachedGeneration()
{
    std::optional<std::uint32_t> generation;
    currentStore().inspect([&](const PlayerState& state) {
        if (state.attached)
            generation = state.generation;
    });
    return generation;
}

int16_t status(const std::string& error)
{
    return error.empty() ? kOk : kFailed;
}

std::string field(const uint8_t* bytes, std::size_t limit)
{
    const auto* end = static_cast<const uint8_t*>(std::memchr(bytes, 0, limit));
    return std::string(reinterpret_cast<const char*>(bytes), end ? std::size_t(end - bytes) : limit);
}

} // namespace

extern "C" {

int16_t ZVD_USB_CALL TCC730_StartDLL(void)
{
    return admitted("StartDLL") ? kOk : kFailed;
}

int16_t ZVD_USB_CALL TCC730_ExitDLL(void)
{
    handles().closeAll();
    return admitted("ExitDLL") ? kOk : kFailed;
}

int16_t ZVD_USB_CALL TCC730_TestConnection(void)
{
    if (!admitted("TestConnection"))
        return 0;
    return attachedGeneration() ? 1 : 0;
}

int16_t ZVD_USB_CALL TCC730_Open(int32_t* handle)
{
    if (!handle || !admitted("Open"))
        return kFailed;
    const auto generation = attachedGeneration();
    if (!generation)
        return kFailed;
    // Bytes a killed PC program was sending never became an entry: their space comes back now.
    currentStore().removeStaleIncoming();
    *handle = handles().open(*generation);
    return kOk;
}

int16_t ZVD_USB_CALL TCC730_Close(int32_t handle)
{
    if (!admitted("Close"))
        return kFailed;
    return handles().close(handle) ? kOk : kFailed;
}

int16_t ZVD_USB_CALL TCC730_GetMediumInfo(int32_t handle, int32_t medium, uint8_t* info)
{
    const auto access = connection(handle, medium);
    if (!info || !access || !admitted("GetMediumInfo"))
        return kFailed;
    return withConnectedState(*access,
                              [&](const PlayerState& state) {
                                  const auto raw = MediumRecord::raw(state);
                                  std::memcpy(info, raw.data(), raw.size());
                              })
               ? kOk
               : kFailed;
}

int16_t ZVD_USB_CALL TCC730_Refresh(int32_t handle, int32_t medium, int32_t* total, PlayerEntry* entries,
                                    int32_t* count)
{
    const auto access = connection(handle, medium);
    if (!access || !total || !count || *count < 0 || (*count > 0 && !entries) || !admitted("Refresh"))
        return kFailed;
    return withConnectedState(
               *access,
               [&](const PlayerState& state) {
                   const std::size_t size = std::min<std::size_t>(state.entries().size(), INT32_MAX);
                   const std::size_t written = std::min<std::size_t>(std::size_t(*count), size);
                   for (std::size_t i = 0; i < written; ++i)
                       EntryRecord::fill(state.entries()[i], std::uint32_t(i), entries[i].bytes);
                   *total = int32_t(size);
                   *count = int32_t(written);
               })
               ? kOk
               : kFailed;
}

int16_t ZVD_USB_CALL TCC730_Rename(int32_t handle, int32_t medium, int32_t index, const char* newName,
                                   PlayerEntry* entry)
{
    const auto access = connection(handle, medium);
    if (!access || index < 0 || !newName || !entry || !admitted("Rename"))
        return kFailed;
    const ShortName::Name expected{field(entry->bytes, 8), field(entry->bytes + 9, 8)};
    return status(VirtualPlayer(currentStore()).rename(uint32_t(index), newName, expected, *access));
}

int16_t ZVD_USB_CALL TCC730_Replace(int32_t handle, int32_t medium, int32_t a, int32_t b)
{
    const auto access = connection(handle, medium);
    if (!access || a < 0 || b < 0 || !admitted("Replace"))
        return kFailed;
    return status(VirtualPlayer(currentStore()).swap(uint32_t(a), uint32_t(b), *access));
}

int16_t ZVD_USB_CALL TCC730_Delete(void*, int32_t handle, int32_t medium, int32_t index, const char* name)
{
    const auto access = connection(handle, medium);
    if (!access || index < 0 || !admitted("Delete"))
        return kFailed;
    return status(VirtualPlayer(currentStore()).remove(uint32_t(index), name ? name : "", *access));
}

int16_t ZVD_USB_CALL TCC730_Download(void*, int32_t handle, int32_t medium, const char* path)
{
    const auto access = connection(handle, medium);
    if (!access || !path || !admitted("Download"))
        return kFailed;
    return status(VirtualPlayer(currentStore()).download(path, *access));
}

int16_t ZVD_USB_CALL TCC730_Upload(void*, int32_t handle, int32_t medium, int32_t index, const char* path,
                                   const char* name, int32_t byteCount, int32_t)
{
    const auto access = connection(handle, medium);
    if (!access || index < 0 || !path || !*path || byteCount < 0 || !admitted("Upload"))
        return kFailed;
    return status(
        VirtualPlayer(currentStore()).upload(uint32_t(index), name ? name : "", byteCount, path, *access));
}

int16_t ZVD_USB_CALL TCC730_Format(void*, int32_t handle, int32_t medium)
{
    const auto access = connection(handle, medium);
    if (!access || !admitted("Format"))
        return kFailed;
    return status(VirtualPlayer(currentStore()).format(false, *access));
}

int16_t ZVD_USB_CALL TCC730_FormatLow(void*, int32_t handle, int32_t medium)
{
    const auto access = connection(handle, medium);
    if (!access || !admitted("FormatLow"))
        return kFailed;
    return status(VirtualPlayer(currentStore()).format(true, *access));
}

int16_t ZVD_USB_CALL ConvertHexToBin(const char* firmwarePath, const char* imagePath, int32_t blockSize)
{
    if (!firmwarePath || !imagePath || !*imagePath || blockSize <= 0 || !admitted("ConvertHexToBin"))
        return kFailed;
    const auto text = FileSystem::readFile(firmwarePath, kMaxHexFile);
    if (!text)
        return kFailed;
    const auto image = IntelHex::toBinary(*text, std::uint32_t(blockSize));
    return image && FileSystem::writeFileAtomic(imagePath, *image) ? kOk : kFailed;
}

int16_t ZVD_USB_CALL TCC730_UpgradeFirmware(void*, int32_t handle, int32_t medium, int32_t,
                                            const char* imagePath, const char* firmwarePath)
{
    const auto access = connection(handle, medium);
    if (!access || !imagePath || !firmwarePath || !admitted("UpgradeFirmware"))
        return kFailed;
    const auto name = AnsiName::fromFileSystem(FileSystem::fileName(firmwarePath));
    return name && status(VirtualPlayer(currentStore()).upgradeFirmware(imagePath, *name, *access)) == kOk
               ? kOk
               : kFailed;
}

} // extern "C"
