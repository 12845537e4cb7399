// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The built libZVD_USB.so, loaded the way the program loads it, with the helpers the tests
// share: a player folder of their own, files on the "PC", the two-call listing, the capacity.
#pragma once

#include "vplayer/ZvdUsb.h"

#include <QTemporaryDir>

#include <cstdint>
#include <string>
#include <vector>

struct ListedEntry {
    std::string shortName; // "BASE.EXT"
    std::int32_t size;
    std::string longName;
    std::uint8_t record[300];
};

class PlayerLibrary
{
public:
    PlayerLibrary();
    ~PlayerLibrary();
    bool loaded() const { return m_library != nullptr; }

#define ZVD_FUNCTION(name) decltype(&::name) name = nullptr;
    ZVD_FUNCTION(TCC730_StartDLL)
    ZVD_FUNCTION(TCC730_ExitDLL)
    ZVD_FUNCTION(TCC730_TestConnection)
    ZVD_FUNCTION(TCC730_Open)
    ZVD_FUNCTION(TCC730_Close)
    ZVD_FUNCTION(TCC730_GetMediumInfo)
    ZVD_FUNCTION(TCC730_Refresh)
    ZVD_FUNCTION(TCC730_Rename)
    ZVD_FUNCTION(TCC730_Replace)
    ZVD_FUNCTION(TCC730_Delete)
    ZVD_FUNCTION(TCC730_Download)
    ZVD_FUNCTION(TCC730_Upload)
    ZVD_FUNCTION(TCC730_Format)
    ZVD_FUNCTION(TCC730_FormatLow)
    ZVD_FUNCTION(ConvertHexToBin)
    ZVD_FUNCTION(TCC730_UpgradeFirmware)
#undef ZVD_FUNCTION

    // Lists like the program: a first call with count 0 for the total, then one with room for
    // max(total, 2) entries. Fails the test's expectations when a call fails.
    std::vector<ListedEntry> list(std::int32_t handle);
    // Total and free bytes by the program's formula over the medium block.
    std::pair<std::uint64_t, std::uint64_t> capacity(std::int32_t handle);

private:
    void* m_library = nullptr;
};

// Each test gets its own player folder (ZVD_PLAYER_DIR) and PC folder.
class PlayerFixture
{
public:
    PlayerFixture();
    std::string playerFolder() const;
    // Writes a PC file and returns its path.
    std::string pcFile(const std::string& name, const std::string& bytes) const;
    std::string pcPath(const std::string& name) const;
    // Runs zvdsim with arguments; returns its exit status.
    int zvdsim(const QStringList& arguments) const;

private:
    QTemporaryDir m_dir;
};
