// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A thin shim over LoadLibrary/GetProcAddress and dlopen/dlsym, so the device binding stays
// plain C++ and builds with MinGW as well.
#pragma once

#include <QString>

class SharedLibrary
{
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // False, with errorText() set, when the library cannot be loaded.
    bool open(const QString& path);
    // The address of an exported function by its undecorated name, or null.
    void* symbol(const char* name) const;
    QString errorText() const { return m_error; }

private:
    void* m_handle = nullptr;
    QString m_error;
};
