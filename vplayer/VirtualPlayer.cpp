// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/VirtualPlayer.h"

#include "vplayer/AnsiName.h"
#include "vplayer/FileSystem.h"
#include "vplayer/Transfer.h"

#include <algorithm>

namespace
{

using Transaction = PlayerStore::Transaction;

// Entry sizes travel in a signed 32-bit field.
constexpr std::uint64_t kMaxEntrySize = 0x7FFFFFFF;
constexpr std::uint64_t kMaxFirmwareImage = 64u * 1024 * 1024;

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string checkNewName(const PlayerState& state, std::string_view longName, const StoredEntry* self)
{
    if (!ShortName::isValidLongName(longName))
        return "not a valid file name on the player: " + std::string(longName);
    if (state.holdsLongName(longName, self))
        return "the player already holds " + std::string(longName);
    return {};
}

// The entry at index, after checking that the caller means the file that is there now.
std::string findEntry(const PlayerState& state, std::uint32_t index, std::string_view name)
{
    if (index >= state.entries().size())
        return "no entry " + std::to_string(index);
    const StoredEntry& entry = state.entries()[index];
    if (!name.empty() && name != entry.longName && !sameIgnoringCase(name, entry.shortName()))
        return "entry " + std::to_string(index) + " is " + entry.longName + ", not " + std::string(name);
    return {};
}

std::string checkFits(const PlayerState& state, std::uint64_t size)
{
    if (size > kMaxEntrySize)
        return "the file is too large for the player (2 GiB or more)";
    if (state.geometry.unitsFor(size) > state.freeUnits())
        return "not enough free space on the player";
    return {};
}

// A name beside target for the bytes on their way, never one of the user's files.
std::string partialPathFor(const std::string& target)
{
    std::string path = target + ".zvd-part";
    for (unsigned n = 1; FileSystem::exists(path); ++n)
        path = target + ".zvd-part" + std::to_string(n);
    return path;
}

} // namespace

std::string checkAccess(const PlayerState& state, const Access& access)
{
    if (!access.viaConnection)
        return {};
    if (!state.attached)
        return "the player is not attached";
    if (state.generation != access.generation)
        return "the connection was lost when the player was detached";
    return {};
}

bool VirtualPlayer::stillConnected(const Access& access) const
{
    bool connected = false;
    const std::string error =
        m_store.inspect([&](const PlayerState& state) { connected = checkAccess(state, access).empty(); });
    return error.empty() && connected;
}

std::string VirtualPlayer::receive(const std::string& longName, std::uint64_t size,
                                   const std::function<std::string(FILE*, std::uint64_t)>& write,
                                   const Access& access) const
{
    const auto admissible = [&](const PlayerState& state) {
        std::string why = checkAccess(state, access);
        if (why.empty())
            why = checkNewName(state, longName, nullptr);
        return why.empty() ? checkFits(state, size) : why;
    };
    // Refuse early what cannot succeed, before a slow transfer.
    std::uint64_t speed = 0;
    std::string error = m_store.transact(
        [&](Transaction& t) {
            speed = t.state.bytesPerSecond;
            return admissible(t.state);
        },
        !access.viaConnection);
    if (!error.empty())
        return error;
    const std::string incoming = m_store.incomingPath();
    FILE* out = FileSystem::makeDirectories(m_store.dataFolder()) &&
                        FileSystem::makeDirectories(m_store.incomingFolder())
                    ? FileSystem::openFile(incoming, "wb")
                    : nullptr;
    if (!out)
        return "cannot create " + incoming;
    error = write(out, speed);
    if (std::fclose(out) != 0 && error.empty())
        error = "cannot write " + incoming;
    if (error.empty())
        error = m_store.transact(
            [&](Transaction& t) {
                // Another process may have taken the name or the space meanwhile: check again.
                std::string why = admissible(t.state);
                const std::uint64_t blob = t.state.nextBlob;
                if (why.empty() && !FileSystem::replaceFile(incoming, m_store.blobPath(blob)))
                    why = "cannot store the file in " + m_store.dataFolder();
                if (!why.empty())
                    return why;
                const ShortName::Name name = t.state.makeShortName(longName);
                t.state.appendEntry({longName, name.base, name.extension, size, blob});
                ++t.state.nextBlob;
                return std::string();
            },
            false);
    if (!error.empty())
        FileSystem::removeFile(incoming);
    return error;
}

std::string VirtualPlayer::download(const std::string& sourcePath, const Access& access) const
{
    const auto size = FileSystem::fileSize(sourcePath);
    if (!size)
        return "cannot read " + sourcePath;
    const auto longName = AnsiName::fromFileSystem(FileSystem::fileName(sourcePath));
    if (!longName)
        return "the name of " + sourcePath + " cannot be written in code page " + AnsiName::codePage();
    return receive(
        *longName, *size,
        [&](FILE* out, std::uint64_t speed) {
            FILE* in = FileSystem::openFile(sourcePath, "rb");
            if (!in)
                return "cannot read " + sourcePath;
            std::string error = Transfer::copy(in, out, *size, speed, [&] { return stillConnected(access); });
            std::fclose(in);
            return error;
        },
        access);
}

std::string VirtualPlayer::addBytes(const std::string& longName, const std::string& bytes) const
{
    return receive(
        longName, bytes.size(),
        [&](FILE* out, std::uint64_t) {
            const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
            return ok ? std::string() : std::string("cannot write the recording");
        },
        Access::player());
}

std::string VirtualPlayer::upload(std::uint32_t index, std::string_view name, std::int64_t byteCount,
                                  const std::string& target, const Access& access) const
{
    FILE* in = nullptr;
    std::uint64_t speed = 0;
    std::string error = m_store.transact(
        [&](Transaction& t) {
            std::string why = checkAccess(t.state, access);
            if (why.empty())
                why = findEntry(t.state, index, name);
            if (!why.empty())
                return why;
            const StoredEntry& entry = t.state.entries()[index];
            if (byteCount < 0 || std::uint64_t(byteCount) > entry.size)
                return "entry " + std::to_string(index) + " holds fewer than " + std::to_string(byteCount) +
                       " bytes";
            // Opened under the lock: on POSIX the bytes stay readable even if the entry is deleted
            // while the copy runs.
            in = FileSystem::openFile(m_store.blobPath(entry.blob), "rb");
            speed = t.state.bytesPerSecond;
            return in ? std::string() : "the data of entry " + std::to_string(index) + " is missing";
        },
        false);
    if (!error.empty())
        return error;
    const std::string partial = partialPathFor(target);
    FILE* out = FileSystem::openFile(partial, "wb");
    if (!out) {
        std::fclose(in);
        return "cannot write " + target;
    }
    error = Transfer::copy(in, out, std::uint64_t(byteCount), speed, [&] { return stillConnected(access); });
    std::fclose(in);
    if (std::fclose(out) != 0 && error.empty())
        error = "cannot write " + target;
    if (error.empty() && !FileSystem::replaceFile(partial, target))
        error = "cannot write " + target;
    if (!error.empty())
        FileSystem::removeFile(partial);
    return error;
}

std::string VirtualPlayer::remove(std::uint32_t index, std::string_view name, const Access& access) const
{
    return m_store.transact(
        [&](Transaction& t) {
            std::string why = checkAccess(t.state, access);
            if (why.empty())
                why = findEntry(t.state, index, name);
            if (!why.empty())
                return why;
            t.garbage.push_back(m_store.blobPath(t.state.entries()[index].blob));
            t.state.eraseEntry(index);
            return std::string();
        },
        !access.viaConnection);
}

std::string VirtualPlayer::swap(std::uint32_t a, std::uint32_t b, const Access& access) const
{
    return m_store.transact(
        [&](Transaction& t) {
            std::string why = checkAccess(t.state, access);
            if (!why.empty())
                return why;
            const std::uint32_t low = std::min(a, b);
            if (std::max(a, b) - low != 1 || std::max(a, b) >= t.state.entries().size())
                return "entries " + std::to_string(a) + " and " + std::to_string(b) + " are not neighbours";
            t.state.swapWithNext(low);
            return std::string();
        },
        !access.viaConnection);
}

std::string VirtualPlayer::rename(std::uint32_t index, std::string_view newName,
                                  const ShortName::Name& expected, const Access& access) const
{
    return m_store.transact(
        [&](Transaction& t) {
            std::string why = checkAccess(t.state, access);
            if (why.empty())
                why = findEntry(t.state, index, {});
            if (!why.empty())
                return why;
            const StoredEntry& entry = t.state.entries()[index];
            if (entry.shortBase != expected.base || entry.shortExtension != expected.extension)
                return "entry " + std::to_string(index) + " is no longer " + expected.base + "." +
                       expected.extension;
            why = checkNewName(t.state, newName, &entry);
            if (!why.empty())
                return why;
            const ShortName::Name name = t.state.makeShortName(newName, &entry);
            t.state.renameEntry(index, std::string(newName), name);
            return std::string();
        },
        !access.viaConnection);
}

std::string VirtualPlayer::format(bool lowLevel, const Access& access) const
{
    return m_store.transact(
        [&](Transaction& t) {
            std::string why = checkAccess(t.state, access);
            if (!why.empty())
                return why;
            for (const StoredEntry& entry : t.state.entries())
                t.garbage.push_back(m_store.blobPath(entry.blob));
            t.state.clearEntries();
            if (lowLevel) {
                const auto stray = m_store.unreferencedFiles(t.state);
                t.garbage.insert(t.garbage.end(), stray.begin(), stray.end());
            }
            t.changed = true;
            return std::string();
        },
        !access.viaConnection);
}

std::string VirtualPlayer::upgradeFirmware(const std::string& imagePath, const std::string& firmwareName,
                                           const Access& access) const
{
    if (!ShortName::isValidLongName(firmwareName))
        return "not a valid firmware name: " + firmwareName;
    const auto image = FileSystem::readFile(imagePath, kMaxFirmwareImage);
    if (!image || image->empty())
        return "cannot read the firmware image " + imagePath;
    std::uint64_t speed = 0;
    m_store.inspect([&](const PlayerState& state) { speed = state.bytesPerSecond; });
    if (speed > 0)
        FileSystem::sleepMilliseconds(
            std::uint32_t(std::min<std::uint64_t>(image->size() * 1000 / speed, 600000)));
    return m_store.transact(
        [&](Transaction& t) {
            std::string why = checkAccess(t.state, access);
            if (!why.empty())
                return why;
            if (!FileSystem::makeDirectories(m_store.firmwareFolder()) ||
                !FileSystem::writeFileAtomic(FileSystem::join(m_store.firmwareFolder(), firmwareName),
                                             *image))
                return "cannot store the firmware in " + m_store.firmwareFolder();
            if (!t.state.firmwareName.empty() && t.state.firmwareName != firmwareName)
                t.garbage.push_back(FileSystem::join(m_store.firmwareFolder(), t.state.firmwareName));
            t.state.firmwareName = firmwareName;
            t.state.firmwareSize = image->size();
            t.changed = true;
            return std::string();
        },
        !access.viaConnection);
}
