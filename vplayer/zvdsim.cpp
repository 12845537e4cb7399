// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdsim: the virtual player's own buttons. Plugs it in and out, shows and lists it, makes
// recordings on it, puts files on it, and arms faults and a slow link for tests.
#include "vplayer/AnsiName.h"
#include "vplayer/FileSystem.h"
#include "vplayer/PlayerControl.h"
#include "vplayer/VirtualPlayer.h"
#include "vplayer/VoiceRecording.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace
{

enum Exit { Done = 0, Failed = 1, Usage = 2 };

constexpr const char* kUsage =
    "usage: zvdsim [--player DIR] COMMAND\n"
    "  attach                     plug the player in\n"
    "  detach                     pull the player out\n"
    "  status                     attachment, capacity, firmware, armed faults\n"
    "  reset [--capacity BYTES]   empty the player and start afresh (attachment is kept)\n"
    "  record NAME                make a voice recording NAME (.ZVD added when missing)\n"
    "  put FILE                   store a file as the PC would\n"
    "  ls                         list the raw entries: index, 8.3 name, size, long name\n"
    "  fail CALL [N]              the Nth next call of CALL fails (default 1, 0 disarms)\n"
    "  speed BYTES_PER_SECOND     emulate a slow link (0 = off)\n"
    "The player folder is DIR, else ZVD_PLAYER_DIR, else the user's data folder + ZVD/player.\n";

using Args = std::vector<std::string>;

std::optional<std::uint64_t> number(const std::string& text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int finish(const std::string& error)
{
    if (error.empty())
        return Done;
    std::cerr << "zvdsim: " << error << '\n';
    return Failed;
}

int usage()
{
    std::cerr << kUsage;
    return Usage;
}

int status(const PlayerStore& store)
{
    std::string error;
    const auto state = store.read(&error);
    if (!state)
        return finish(error);
    const MediumGeometry& g = state->geometry;
    std::cout << "folder: " << store.folder() << '\n'
              << "attached: " << (state->attached ? "yes" : "no") << '\n'
              << "entries: " << state->entries().size() << '\n'
              << "units: " << state->unitsInUse() << " of " << g.unitCount << " in use, " << g.unitBytes()
              << " bytes each (" << g.unitSize << " x " << unsigned(g.factor1) << " x " << unsigned(g.factor2)
              << ")\n"
              << "capacity: " << g.totalBytes() << " bytes\n"
              << "free: " << state->freeBytes() << " bytes\n"
              << "speed: ";
    if (state->bytesPerSecond == 0)
        std::cout << "unlimited\n";
    else
        std::cout << state->bytesPerSecond << " bytes per second\n";
    std::cout << "firmware: ";
    if (state->firmwareName.empty())
        std::cout << "original\n";
    else
        std::cout << AnsiName::toFileSystem(state->firmwareName) << " (" << state->firmwareSize
                  << " bytes)\n";
    for (const auto& [call, left] : state->failures)
        std::cout << "fault: call " << left << " of " << call << " from now fails\n";
    return Done;
}

int list(const PlayerStore& store)
{
    std::string error;
    const auto state = store.read(&error);
    if (!state)
        return finish(error);
    for (std::size_t i = 0; i < state->entries().size(); ++i) {
        const StoredEntry& e = state->entries()[i];
        std::cout << i << '\t' << e.shortName() << '\t' << e.size << '\t'
                  << AnsiName::toFileSystem(e.longName) << '\n';
    }
    return Done;
}

int record(const PlayerStore& store, std::string name)
{
    const std::string suffix = ".ZVD";
    const bool hasSuffix = name.size() > suffix.size() &&
                           std::equal(suffix.begin(), suffix.end(), name.end() - 4,
                                      [](char a, char b) { return a == (b >= 'a' ? char(b - 32) : b); });
    if (!hasSuffix)
        name += suffix;
    const auto stored = AnsiName::fromFileSystem(name);
    if (!stored)
        return finish(name + " cannot be written in code page " + AnsiName::codePage());
    std::uint32_t seed = 0;
    for (const char c : name)
        seed = seed * 31 + std::uint8_t(c);
    return finish(VirtualPlayer(store).addBytes(*stored, VoiceRecording::make(2, seed)));
}

int run(const PlayerStore& store, const std::string& command, const Args& args)
{
    if (command == "attach" && args.empty())
        return finish(PlayerControl::attach(store));
    if (command == "detach" && args.empty())
        return finish(PlayerControl::detach(store));
    if (command == "status" && args.empty())
        return status(store);
    if (command == "ls" && args.empty())
        return list(store);
    if (command == "reset" && args.empty())
        return finish(PlayerControl::reset(store, std::nullopt));
    if (command == "reset" && args.size() == 2 && args[0] == "--capacity") {
        const auto capacity = number(args[1]);
        return capacity ? finish(PlayerControl::reset(store, capacity)) : usage();
    }
    if (command == "record" && args.size() == 1)
        return record(store, args[0]);
    if (command == "put" && args.size() == 1)
        return finish(VirtualPlayer(store).download(args[0], Access::player()));
    if (command == "fail" && (args.size() == 1 || args.size() == 2)) {
        const auto nth = args.size() == 2 ? number(args[1]) : std::optional<std::uint64_t>(1);
        if (!nth || *nth > UINT32_MAX)
            return usage();
        return finish(PlayerControl::armFailure(store, args[0], std::uint32_t(*nth)));
    }
    if (command == "speed" && args.size() == 1) {
        const auto speed = number(args[0]);
        return speed ? finish(PlayerControl::setSpeed(store, *speed)) : usage();
    }
    return usage();
}

} // namespace

int main(int argc, char** argv)
{
    Args args(argv + 1, argv + argc);
    std::string folder = PlayerStore::defaultFolder();
    if (args.size() >= 2 && args[0] == "--player") {
        folder = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args[0] == "--help" || args[0] == "help") {
        std::cout << kUsage;
        return args.empty() ? Usage : Done;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    return run(PlayerStore(folder), command, args);
}
