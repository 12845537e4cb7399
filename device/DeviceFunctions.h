// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device library's C interface as a table of function pointers. The binding fills it from
// the loaded library; tests fill it with an in-process fake.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ZVD_STDCALL __stdcall
#else
#define ZVD_STDCALL
#endif

// One file on the player as the library reports it (300 bytes, little-endian integers).
struct PlayerEntry {
    uint8_t bytes[300];
};

// The medium information record: the library fills bytes 0-31, decoding fills 32-60.
struct MediumInfo {
    uint8_t bytes[62];
};

struct DeviceFunctions {
    int16_t(ZVD_STDCALL* StartDLL)();
    int16_t(ZVD_STDCALL* ExitDLL)();
    int16_t(ZVD_STDCALL* TestConnection)();
    int16_t(ZVD_STDCALL* Open)(int32_t* handle);
    int16_t(ZVD_STDCALL* Close)(int32_t handle);
    int16_t(ZVD_STDCALL* GetMediumInfo)(int32_t handle, int32_t medium, uint8_t* info);
    int16_t(ZVD_STDCALL* Refresh)(int32_t handle, int32_t medium, int32_t* total, PlayerEntry* entries,
                                  int32_t* count);
    int16_t(ZVD_STDCALL* Rename)(int32_t handle, int32_t medium, int32_t index, const char* newName,
                                 PlayerEntry* entry);
    int16_t(ZVD_STDCALL* Replace)(int32_t handle, int32_t medium, int32_t a, int32_t b);
    int16_t(ZVD_STDCALL* Delete)(void* owner, int32_t handle, int32_t medium, int32_t index,
                                 const char* name);
    int16_t(ZVD_STDCALL* Download)(void* owner, int32_t handle, int32_t medium, const char* path);
    int16_t(ZVD_STDCALL* Upload)(void* owner, int32_t handle, int32_t medium, int32_t index, const char* path,
                                 const char* name, int32_t byteCount, int32_t zero);
    int16_t(ZVD_STDCALL* Format)(void* owner, int32_t handle, int32_t medium);
    int16_t(ZVD_STDCALL* FormatLow)(void* owner, int32_t handle, int32_t medium);
    int16_t(ZVD_STDCALL* ConvertHexToBin)(const char* firmwarePath, const char* imagePath, int32_t blockSize);
    int16_t(ZVD_STDCALL* UpgradeFirmware)(void* owner, int32_t handle, int32_t medium, int32_t zero,
                                          const char* imagePath, const char* firmwarePath);
};
