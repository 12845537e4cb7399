// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/PlayerControl.h"

#include "vplayer/FileSystem.h"

namespace PlayerControl
{
namespace
{

using Transaction = PlayerStore::Transaction;

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string setAttached(const PlayerStore& store, bool attached)
{
    return store.transact(
        [&](Transaction& t) {
            if (t.state.attached != attached) {
                t.state.attached = attached;
                // A new generation cuts every connection opened before.
                ++t.state.generation;
            }
            t.changed = true;
            return std::string();
        },
        true);
}

} // namespace

std::optional<std::string_view> callName(std::string_view call)
{
    constexpr std::string_view kPrefix = "TCC730_";
    if (call.size() > kPrefix.size() && sameIgnoringCase(call.substr(0, kPrefix.size()), kPrefix))
        call.remove_prefix(kPrefix.size());
    for (const std::string_view name : kCalls) {
        if (sameIgnoringCase(name, call))
            return name;
    }
    return std::nullopt;
}

std::string attach(const PlayerStore& store)
{
    return setAttached(store, true);
}

std::string detach(const PlayerStore& store)
{
    return setAttached(store, false);
}

std::string reset(const PlayerStore& store, std::optional<std::uint64_t> capacity)
{
    MediumGeometry geometry;
    if (capacity) {
        const auto chosen = MediumGeometry::forCapacity(*capacity);
        if (!chosen)
            return "a capacity of " + std::to_string(*capacity) +
                   " bytes cannot be made (16384 bytes to about 32 GiB)";
        geometry = *chosen;
    }
    return store.transact(
        [&](Transaction& t) {
            PlayerState fresh;
            fresh.attached = t.state.attached;
            fresh.generation = t.state.generation;
            fresh.nextBlob = t.state.nextBlob;
            fresh.geometry = geometry;
            t.garbage = store.unreferencedFiles(fresh);
            if (!t.state.firmwareName.empty())
                t.garbage.push_back(FileSystem::join(store.firmwareFolder(), t.state.firmwareName));
            t.state = fresh;
            t.rewrite = true;
            return std::string();
        },
        true, true);
}

std::string setSpeed(const PlayerStore& store, std::uint64_t bytesPerSecond)
{
    return store.transact(
        [&](Transaction& t) {
            t.state.bytesPerSecond = bytesPerSecond;
            t.changed = true;
            return std::string();
        },
        true);
}

std::string armFailure(const PlayerStore& store, std::string_view call, std::uint32_t nth)
{
    const auto name = callName(call);
    if (!name)
        return "unknown call " + std::string(call);
    return store.transact(
        [&](Transaction& t) {
            if (nth == 0)
                t.state.failures.erase(std::string(*name));
            else
                t.state.failures[std::string(*name)] = nth;
            t.changed = true;
            return std::string();
        },
        true);
}

} // namespace PlayerControl
