// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "FakeDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

FakeDevice* FakeDevice::current = nullptr;

namespace
{

FakeDevice& fake()
{
    return *FakeDevice::current;
}

void record(const char* function, std::vector<int64_t> numbers = {}, const char* text = nullptr)
{
    fake().calls.push_back({function, std::move(numbers), text ? text : ""});
}

void writeEntry(PlayerEntry& out, const FakeEntry& in)
{
    std::memset(out.bytes, 0, sizeof out.bytes);
    std::memcpy(out.bytes, in.shortName.data(), std::min<std::size_t>(in.shortName.size(), 8));
    std::memcpy(out.bytes + 9, in.extension.data(), std::min<std::size_t>(in.extension.size(), 8));
    for (int i = 0; i < 4; ++i)
        out.bytes[32 + i] = uint8_t(in.size >> (8 * i));
    std::memcpy(out.bytes + 36, in.longName.data(), std::min<std::size_t>(in.longName.size(), 260));
}

int16_t StartDLL()
{
    record("StartDLL");
    return 1;
}
int16_t ExitDLL()
{
    record("ExitDLL");
    return 1;
}
int16_t TestConnection()
{
    record("TestConnection");
    return fake().connection;
}

int16_t Open(int32_t* handle)
{
    record("Open");
    *handle = fake().openSucceeds ? fake().handle : 0;
    return fake().openSucceeds ? 1 : 0;
}

int16_t Close(int32_t handle)
{
    record("Close", {handle});
    return 1;
}

int16_t GetMediumInfo(int32_t handle, int32_t medium, uint8_t* info)
{
    record("GetMediumInfo", {handle, medium});
    std::memcpy(info, fake().rawMedium, 32);
    return 1;
}

int16_t Refresh(int32_t handle, int32_t medium, int32_t* total, PlayerEntry* entries, int32_t* count)
{
    record("Refresh", {handle, medium, *count});
    if (!fake().refreshSucceeds)
        return 0;
    const int32_t size = int32_t(fake().entries.size());
    *total = size;
    const int32_t written = std::min(*count, size);
    for (int32_t i = 0; i < written; ++i)
        writeEntry(entries[i], fake().entries[std::size_t(i)]);
    *count = written + (written > 0 ? fake().extraCount : 0);
    return 1;
}

int16_t Rename(int32_t handle, int32_t medium, int32_t index, const char* newName, PlayerEntry* entry)
{
    record("Rename", {handle, medium, index}, newName);
    fake().renamedRecord.assign(entry->bytes, entry->bytes + sizeof entry->bytes);
    return 1;
}

int16_t Replace(int32_t handle, int32_t medium, int32_t a, int32_t b)
{
    const int number = int(fake().callsOf("Replace").size());
    record("Replace", {handle, medium, a, b});
    return number == fake().failReplaceAt ? 0 : 1;
}

int16_t Delete(void*, int32_t handle, int32_t medium, int32_t index, const char* name)
{
    const int number = int(fake().callsOf("Delete").size());
    record("Delete", {handle, medium, index}, name);
    if (number == fake().failDeleteAt || index < 0 || index >= int32_t(fake().entries.size()))
        return 0;
    fake().entries.erase(fake().entries.begin() + index);
    return 1;
}

int16_t Download(void*, int32_t handle, int32_t medium, const char* path)
{
    record("Download", {handle, medium}, path);
    return 1;
}

int16_t Upload(void*, int32_t handle, int32_t medium, int32_t index, const char* path, const char*,
               int32_t count, int32_t zero)
{
    record("Upload", {handle, medium, index, count, zero}, path);
    return 1;
}

int16_t Format(void*, int32_t handle, int32_t medium)
{
    record("Format", {handle, medium});
    fake().entries.clear();
    return 1;
}

int16_t FormatLow(void*, int32_t handle, int32_t medium)
{
    record("FormatLow", {handle, medium});
    fake().entries.clear();
    return 1;
}

int16_t ConvertHexToBin(const char* firmware, const char* image, int32_t blockSize)
{
    record("ConvertHexToBin", {blockSize}, firmware);
    if (fake().convertWritesImage) {
        if (FILE* file = std::fopen(image, "wb")) {
            std::fputs("image", file);
            std::fclose(file);
        }
    }
    return fake().convertSucceeds ? 1 : 0;
}

int16_t UpgradeFirmware(void*, int32_t handle, int32_t medium, int32_t zero, const char* image, const char*)
{
    record("UpgradeFirmware", {handle, medium, zero}, image);
    return fake().upgradeSucceeds ? 1 : 0;
}

} // namespace

FakeDevice::FakeDevice()
{
    current = this;
}
FakeDevice::~FakeDevice()
{
    current = nullptr;
}

DeviceFunctions FakeDevice::table() const
{
    return {StartDLL, ExitDLL,   TestConnection,  Open,           Close,    GetMediumInfo,
            Refresh,  Rename,    Replace,         Delete,         Download, Upload,
            Format,   FormatLow, ConvertHexToBin, UpgradeFirmware};
}

void FakeDevice::setMedium(uint16_t unitCount, uint16_t unitsInUse, uint16_t unitSize, uint8_t first,
                           uint8_t second)
{
    std::memset(rawMedium, 0, sizeof rawMedium);
    rawMedium[7] = uint8_t(unitCount >> 8);
    rawMedium[8] = uint8_t(unitCount);
    rawMedium[9] = uint8_t(unitsInUse >> 8);
    rawMedium[10] = uint8_t(unitsInUse);
    rawMedium[25] = uint8_t(unitSize >> 8);
    rawMedium[26] = uint8_t(unitSize);
    rawMedium[27] = first;
    rawMedium[28] = second;
}

std::vector<FakeCall> FakeDevice::callsOf(const std::string& function) const
{
    std::vector<FakeCall> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                 [&](const FakeCall& call) { return call.function == function; });
    return result;
}

QStringList FakeDevice::callNames() const
{
    QStringList names;
    for (const FakeCall& call : calls)
        names << QString::fromStdString(call.function);
    return names;
}
