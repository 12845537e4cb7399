// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/PlayerStore.h"

#include "vplayer/FileLock.h"
#include "vplayer/FileSystem.h"
#include "vplayer/StateFile.h"

#include <atomic>
#include <map>
#include <memory>
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

constexpr std::uint64_t kMaxStateFile = 256u * 1024 * 1024;
constexpr const char* kNoPlayer = "the player is not attached";
// The journal is folded into a fresh snapshot once it outgrows the snapshot (and this floor), so
// the rewrite, which costs as much as the entries, comes once per as many changes: amortised, a
// change costs the same however many entries there are.
constexpr std::uint64_t kMinJournal = 64 * 1024;
// Players a process keeps the state of (tests and tools may use several).
constexpr std::size_t kCachedPlayers = 4;

// Lines of `after` not in `before`, plus what undoes a setting `after` dropped.
std::string settingsChanges(const std::string& before, const std::string& after)
{
    const auto lines = [](const std::string& text) {
        std::set<std::string> out;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            out.insert(text.substr(start, end - start));
            start = end + 1;
        }
        return out;
    };
    const std::set<std::string> old = lines(before);
    const std::set<std::string> now = lines(after);
    std::string changes;
    for (const std::string& line : now)
        if (!old.count(line))
            changes += line + '\n';
    for (const std::string& line : old) {
        if (now.count(line))
            continue;
        // "fail CALL N" gone: disarmed; "firmware SIZE :NAME" gone: the original firmware again.
        if (line.rfind("fail ", 0) == 0) {
            const std::string call = line.substr(5, line.find(' ', 5) - 5);
            if (after.find("fail " + call + ' ') == std::string::npos)
                changes += "fail " + call + " 0\n";
        } else if (line.rfind("firmware ", 0) == 0 && after.find("firmware ") == std::string::npos) {
            changes += "firmware 0 :\n";
        }
    }
    return changes;
}

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

// The state this process last saw of one player folder, and where it stands in the file. Used
// only while holding the folder's lock, which also keeps threads of this process apart.
struct PlayerStore::Cache {
    StateFile::Contents contents;
    bool valid = false;      // contents match the file as of contents.end
    bool fileExists = false; // false: no state file yet (a fresh player)
    // The file as it was when contents were last brought up to date: another length means
    // records to read, another file or write time without one means a full read.
    FileSystem::FileStamp stamp;
};

namespace
{

class SpinGuard
{
public:
    explicit SpinGuard(std::atomic_flag& flag) : m_flag(flag)
    {
        while (m_flag.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~SpinGuard() { m_flag.clear(std::memory_order_release); }
    SpinGuard(const SpinGuard&) = delete;
    SpinGuard& operator=(const SpinGuard&) = delete;

private:
    std::atomic_flag& m_flag;
};

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
std::string PlayerStore::incomingFolder() const
{
    return FileSystem::join(m_folder, "incoming");
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
    return FileSystem::join(incomingFolder(), "incoming-" + std::to_string(ZVD_GETPID()) + "-" +
                                                  std::to_string(++counter) + ".part");
}

void PlayerStore::removeStaleIncoming() const
{
    const std::string prefix = "incoming-";
    const std::string suffix = ".part";
    for (const std::string& name : FileSystem::listFiles(incomingFolder())) {
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
            FileSystem::removeFile(FileSystem::join(incomingFolder(), name));
    }
}

// A spin lock rather than std::mutex: the MinGW build's win32 thread model has no mutex, and the
// table is held only to find an entry.
std::shared_ptr<PlayerStore::Cache> PlayerStore::cacheFor(const std::string& folder)
{
    static std::atomic_flag busy = ATOMIC_FLAG_INIT;
    static std::map<std::string, std::shared_ptr<PlayerStore::Cache>> caches;
    const SpinGuard guard(busy);
    auto& cache = caches[folder];
    if (!cache) {
        if (caches.size() > kCachedPlayers) {
            // Forget another player; a call using its state right now keeps it alive.
            for (auto it = caches.begin(); it != caches.end(); ++it) {
                if (it->first != folder) {
                    caches.erase(it);
                    break;
                }
            }
        }
        cache = std::make_shared<PlayerStore::Cache>();
    }
    return cache;
}

bool PlayerStore::load(Cache& cache, std::string& error) const
{
    const std::string damaged =
        "the player state in " + m_folder + " is damaged (zvdsim reset starts afresh)";
    FILE* file = FileSystem::openFile(statePath(), "rb");
    if (!file) {
        if (FileSystem::exists(statePath())) {
            error = "cannot read the player state in " + m_folder;
            return false;
        }
        cache.contents = StateFile::Contents{};
        cache.fileExists = false;
        cache.valid = true;
        return true;
    }
    struct Closer {
        FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{file};
    const auto stamp = FileSystem::stampOf(file);
    const auto head = FileSystem::readAt(file, 0, std::min<std::uint64_t>(stamp ? stamp->size : 0, 64));
    if (!stamp || !head || stamp->size > kMaxStateFile) {
        error = "cannot read the player state in " + m_folder;
        cache.valid = false;
        return false;
    }
    const std::uint64_t size = stamp->size;
    const auto epoch = StateFile::epochOf(*head);
    if (cache.valid && cache.fileExists && epoch && *epoch == cache.contents.epoch &&
        stamp->identity == cache.stamp.identity) {
        // The file this process saw, perhaps with records other processes appended since.
        if (*stamp == cache.stamp)
            return true;
        if (size > cache.stamp.size && cache.stamp.size == cache.contents.end) {
            const auto tail = FileSystem::readAt(file, cache.contents.end, size - cache.contents.end);
            if (tail && StateFile::applyJournal(cache.contents, *tail)) {
                cache.stamp = *stamp;
                return true;
            }
            cache.valid = false;
            error = tail ? damaged : "cannot read the player state in " + m_folder;
            return false;
        }
    }
    const auto text = FileSystem::readAt(file, 0, size);
    auto contents = text ? StateFile::parse(*text) : std::nullopt;
    if (!contents) {
        cache.valid = false;
        error = text ? damaged : "cannot read the player state in " + m_folder;
        return false;
    }
    cache.contents = std::move(*contents);
    cache.fileExists = true;
    cache.valid = true;
    cache.stamp = *stamp;
    return true;
}

bool PlayerStore::save(Cache& cache, const std::string& records, bool rewrite) const
{
    StateFile::Contents& c = cache.contents;
    const std::string record = StateFile::record(records);
    const std::uint64_t journal = c.end - c.journalStart + record.size();
    if (!rewrite && cache.fileExists && c.epoch != 0 && journal <= std::max(c.journalStart, kMinJournal)) {
        FILE* file = FileSystem::openFile(statePath(), "r+b");
        // Whatever follows the last whole record is what a killed writer left: cut it off.
        bool ok = file && FileSystem::writeEnd(file, c.end, record);
        const auto stamp = ok ? FileSystem::stampOf(file) : std::nullopt;
        ok = stamp && ok;
        if (file && std::fclose(file) != 0)
            return false;
        if (!ok)
            return false;
        c.end += record.size();
        cache.stamp = *stamp;
        return true;
    }
    const std::uint64_t epoch = StateFile::newEpoch();
    const std::string text = StateFile::snapshot(c.state, epoch);
    if (!FileSystem::writeFileAtomic(statePath(), text))
        return false;
    FILE* file = FileSystem::openFile(statePath(), "rb");
    const auto stamp = file ? FileSystem::stampOf(file) : std::nullopt;
    if (file)
        std::fclose(file);
    c.epoch = epoch;
    c.journalStart = c.end = text.size();
    cache.fileExists = true;
    // Without a stamp the next call reads the whole file again, which is safe.
    cache.stamp = stamp.value_or(FileSystem::FileStamp{});
    return true;
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
    const std::shared_ptr<Cache> cache = cacheFor(m_folder);
    std::string error;
    if (!load(*cache, error)) {
        if (!discardDamaged)
            return error;
        cache->contents = StateFile::Contents{};
        cache->fileExists = false;
    }
    // Until the change is saved, the state in memory may differ from the file.
    cache->valid = false;
    PlayerState& state = cache->contents.state;
    const std::string before = state.settingsLines();
    Transaction transaction{state, false, false, {}};
    error = change(transaction);
    const std::string records = settingsChanges(before, state.settingsLines()) + state.takeEntryChanges();
    // A file of the first format is rewritten in the current one as soon as it is seen.
    const bool rewrite = transaction.rewrite || (cache->fileExists && cache->contents.epoch == 0) ||
                         (!cache->fileExists && transaction.changed);
    if ((rewrite || !records.empty()) && !save(*cache, records, rewrite))
        return "cannot write the player state in " + m_folder;
    cache->valid = true;
    for (const std::string& path : transaction.garbage)
        FileSystem::removeFile(path);
    return error;
}

std::string PlayerStore::inspect(const Inspection& look) const
{
    const std::string failure = transact(
        [&](Transaction& t) {
            look(t.state);
            return std::string();
        },
        false);
    if (failure == kNoPlayer) {
        // A player that was never set up looks like a fresh, detached one.
        look(PlayerState{});
        return {};
    }
    return failure;
}

std::optional<PlayerState> PlayerStore::read(std::string* error) const
{
    std::optional<PlayerState> result;
    const std::string failure = inspect([&](const PlayerState& state) { result = state; });
    if (!failure.empty()) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    return result;
}

std::vector<std::string> PlayerStore::unreferencedFiles(const PlayerState& state) const
{
    std::set<std::string> kept;
    for (const StoredEntry& entry : state.entries())
        kept.insert(std::to_string(entry.blob) + ".bin");
    std::vector<std::string> paths;
    for (const std::string& name : FileSystem::listFiles(dataFolder())) {
        if (!kept.count(name))
            paths.push_back(FileSystem::join(dataFolder(), name));
    }
    for (const std::string& name : FileSystem::listFiles(incomingFolder()))
        paths.push_back(FileSystem::join(incomingFolder(), name));
    return paths;
}
