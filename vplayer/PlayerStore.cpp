// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "PlayerStore.h"

#include "FileLock.h"
#include "FileSystem.h"

#include <atomic>
#include <set>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#define ZVD_GETPID _getpid
#else
#include <unistd.h>
#define ZVD_GETPID ::getpid
#endif

namespace
{

constexpr std::uint64_t kMaxStateFile = 64u * 1024 * 1024;
constexpr const char* kNoPlayer = "the player is not attached";

#ifdef _WIN32
// Under Wine, ZVD_PLAYER_DIR may be a Unix path, so that the Linux zvdsim and this DLL share one
// player folder; Wine's own conversion (only its kernel32 has it) makes it a Windows path.
std::string windowsFolder(const std::string& folder)
{
    if (folder.empty() || folder[0] != '/')
        return folder;
    using Convert = WCHAR*(CDECL*)(const char*);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto convert = kernel ? reinterpret_cast<Convert>(reinterpret_cast<void*>(
                                      GetProcAddress(kernel, "wine_get_dos_file_name")))
                                : nullptr;
    WCHAR* wide = convert ? convert(folder.c_str()) : nullptr;
    if (!wide)
        return folder;
    std::string converted;
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
        converted.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, converted.data(), size, nullptr, nullptr);
        converted.resize(static_cast<std::size_t>(size - 1));
    }
    HeapFree(GetProcessHeap(), 0, wide);
    return converted.empty() ? folder : converted;
}
#endif

} // namespace

PlayerStore::PlayerStore(std::string folder) : m_folder(std::move(folder)) {}

std::string PlayerStore::defaultFolder()
{
    if (auto folder = FileSystem::environment("ZVD_PLAYER_DIR")) {
#ifdef _WIN32
        return windowsFolder(*folder);
#else
        return *folder;
#endif
    }
#ifdef _WIN32
    const auto base = FileSystem::environment("LOCALAPPDATA");
    return FileSystem::join(FileSystem::join(base.value_or("."), "ZVD"), "player");
#else
    std::string base;
    if (auto data = FileSystem::environment("XDG_DATA_HOME"))
        base = *data;
    else
        base = FileSystem::join(FileSystem::environment("HOME").value_or("."), ".local/share");
    return FileSystem::join(FileSystem::join(base, "ZVD"), "player");
#endif
}

std::string PlayerStore::statePath() const
{
    return FileSystem::join(m_folder, "state");
}
std::string PlayerStore::lockPath() const
{
    return FileSystem::join(m_folder, "lock");
}
std::string PlayerStore::dataFolder() const
{
    return FileSystem::join(m_folder, "data");
}
std::string PlayerStore::firmwareFolder() const
{
    return FileSystem::join(m_folder, "firmware");
}

std::string PlayerStore::blobPath(std::uint64_t blob) const
{
    return FileSystem::join(dataFolder(), std::to_string(blob) + ".bin");
}

std::string PlayerStore::incomingPath() const
{
    static std::atomic<unsigned> counter{0};
    return FileSystem::join(dataFolder(), "incoming-" + std::to_string(ZVD_GETPID()) + "-" +
                                              std::to_string(++counter) + ".part");
}

void PlayerStore::removeStaleIncoming() const
{
    const std::string prefix = "incoming-";
    const std::string suffix = ".part";
    for (const std::string& name : FileSystem::listFiles(dataFolder())) {
        if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        // incoming-<pid>-<n>.part: digits, a dash, digits.
        const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        const std::size_t dash = middle.find('-');
        const auto digits = [](const std::string& text) {
            return !text.empty() && text.size() <= 19 &&
                   text.find_first_not_of("0123456789") == std::string::npos;
        };
        if (dash == std::string::npos || !digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1)))
            continue;
        if (!FileSystem::processAlive(std::stoull(middle.substr(0, dash))))
            FileSystem::removeFile(FileSystem::join(dataFolder(), name));
    }
}

std::optional<PlayerState> PlayerStore::load(std::string& error) const
{
    if (!FileSystem::exists(statePath()))
        return PlayerState{};
    const auto text = FileSystem::readFile(statePath(), kMaxStateFile);
    if (!text) {
        error = "cannot read the player state in " + m_folder;
        return std::nullopt;
    }
    auto state = PlayerState::parse(*text);
    if (!state)
        error = "the player state in " + m_folder + " is damaged (zvdsim reset starts afresh)";
    return state;
}

std::string PlayerStore::transact(const Change& change, bool create, bool discardDamaged) const
{
    if (!FileSystem::isDirectory(m_folder)) {
        if (!create)
            return kNoPlayer;
        if (!FileSystem::makeDirectories(m_folder))
            return "cannot create the player folder " + m_folder;
    }
    const FileLock lock(lockPath());
    if (!lock.locked())
        return "cannot lock the player folder " + m_folder;
    std::string error;
    auto state = load(error);
    if (!state && !discardDamaged)
        return error;
    if (!state)
        state = PlayerState{};
    Transaction transaction{*state, false, {}};
    error = change(transaction);
    if (transaction.changed && !FileSystem::writeFileAtomic(statePath(), state->serialize()))
        return "cannot write the player state in " + m_folder;
    for (const std::string& path : transaction.garbage)
        FileSystem::removeFile(path);
    return error;
}

std::optional<PlayerState> PlayerStore::read(std::string* error) const
{
    std::optional<PlayerState> result;
    const std::string failure = transact(
        [&](Transaction& t) {
            result = t.state;
            return std::string();
        },
        false);
    if (!failure.empty()) {
        // A player that was never set up reads as a fresh, detached one.
        if (failure == kNoPlayer)
            return PlayerState{};
        if (error)
            *error = failure;
        return std::nullopt;
    }
    return result;
}

std::vector<std::string> PlayerStore::unreferencedFiles(const PlayerState& state) const
{
    std::set<std::string> kept;
    for (const StoredEntry& entry : state.entries)
        kept.insert(std::to_string(entry.blob) + ".bin");
    std::vector<std::string> paths;
    for (const std::string& name : FileSystem::listFiles(dataFolder())) {
        if (!kept.count(name))
            paths.push_back(FileSystem::join(dataFolder(), name));
    }
    return paths;
}
