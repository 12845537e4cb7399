// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The binding to the device library: loads it at run time, resolves every function by name and
// calls it with the library's argument order. A binding without a library (none found, a function
// missing) is inert: every call reports failure and TestConnection reports "not attached".
#pragma once

#include "device/DeviceFunctions.h"

#include <QString>

#include <memory>

class SharedLibrary;

class mTCC730
{
public:
    // Inert: no library.
    mTCC730();
    // Calls go to the given table (an in-process fake in tests).
    explicit mTCC730(const DeviceFunctions& table);
    ~mTCC730();
    mTCC730(const mTCC730&) = delete;
    mTCC730& operator=(const mTCC730&) = delete;

    // The library to load: requested when not empty, else ZVD_USB_LIBRARY, else ZVD_USB.DLL
    // (Windows) or libZVD_USB.so beside the executable.
    static QString libraryPath(const QString& requested = QString());

    // Loads the library and resolves every function. On failure the binding stays inert and
    // error() says what is missing, in one sentence meant for the user.
    bool load(const QString& path);
    bool isLoaded() const { return m_loaded; }
    QString error() const { return m_error; }

    // The calls. Statuses are returned as "succeeded" (non-zero status). Names go to the library
    // in the ANSI code page; PC paths in the file system's own encoding (the ANSI code page on
    // Windows, the locale's 8-bit encoding elsewhere), so the library can open them.
    bool StartDLL();
    bool ExitDLL();
    int TestConnection(); // 1 attached, anything else not
    bool Open(int32_t& handle);
    bool Close(int32_t handle);
    bool GetMediumInfo(int32_t handle, int32_t medium, MediumInfo& info);
    bool Refresh(int32_t handle, int32_t medium, int32_t& total, PlayerEntry* entries, int32_t& count);
    bool Rename(int32_t handle, int32_t medium, int32_t index, const QString& newName, PlayerEntry& entry);
    bool Replace(int32_t handle, int32_t medium, int32_t a, int32_t b);
    bool Delete(void* owner, int32_t handle, int32_t medium, int32_t index, const QString& name);
    bool Download(void* owner, int32_t handle, int32_t medium, const QString& pcPath);
    bool Upload(void* owner, int32_t handle, int32_t medium, int32_t index, const QString& pcPath,
                const QString& name, int32_t byteCount);
    bool Format(void* owner, int32_t handle, int32_t medium);
    bool FormatLow(void* owner, int32_t handle, int32_t medium);
    bool ConvertHexToBin(const QString& firmwarePath, const QString& imagePath, int32_t blockSize);
    bool UpgradeFirmware(void* owner, int32_t handle, int32_t medium, const QString& imagePath,
                         const QString& firmwarePath);

    // Bytes handed to the library for a PC path / an entry name.
    static QByteArray pathBytes(const QString& path);
    static QByteArray nameBytes(const QString& name);

private:
    std::unique_ptr<SharedLibrary> m_library;
    DeviceFunctions m_functions{};
    bool m_loaded = false;
    QString m_error;
};
