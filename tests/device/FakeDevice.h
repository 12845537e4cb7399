// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// An in-process device library for unit tests: a function table over a small in-memory player
// that records every call, so tests can pin the exact call sequences.
#pragma once

#include "device/DeviceFunctions.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

struct FakeEntry {
    std::string shortName;
    std::string extension;
    uint32_t size = 0;
    std::string longName;
};

struct FakeCall {
    std::string function;
    std::vector<int64_t> numbers; // integer arguments after handle and medium
    std::string text;             // name or path argument
};

class FakeDevice
{
public:
    FakeDevice(); // becomes the current fake
    ~FakeDevice();

    DeviceFunctions table() const;

    int16_t connection = 1; // TestConnection's answer
    bool openSucceeds = true;
    int32_t handle = 7;
    std::vector<FakeEntry> entries;
    uint8_t rawMedium[32] = {}; // what GetMediumInfo writes into bytes 0-31
    bool refreshSucceeds = true;
    int failDeleteAt = -1; // 0-based number of the Delete call that fails
    int failReplaceAt = -1;
    bool convertWritesImage = true;
    bool convertSucceeds = true;
    bool upgradeSucceeds = true;
    int32_t extraCount = 0; // added to the count Refresh reports (a misbehaving library)
    std::vector<FakeCall> calls;
    std::vector<uint8_t> renamedRecord; // the record the last Rename received

    // Medium geometry in raw big-endian form.
    void setMedium(uint16_t unitCount, uint16_t unitsInUse, uint16_t unitSize, uint8_t first, uint8_t second);
    // Calls of one function, in order.
    std::vector<FakeCall> callsOf(const std::string& function) const;
    QStringList callNames() const;

    static FakeDevice* current;
};
