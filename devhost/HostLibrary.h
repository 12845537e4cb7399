// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Loads the device library inside the host and resolves its sixteen functions by name.
#pragma once

#include "device/DeviceFunctions.h"

#include <string>

namespace devhost
{

class HostLibrary
{
public:
    HostLibrary() = default;
    ~HostLibrary();
    HostLibrary(const HostLibrary&) = delete;
    HostLibrary& operator=(const HostLibrary&) = delete;

    // False, with error() saying why in one sentence, when the library cannot be loaded or lacks
    // a function.
    bool open(const std::string& path);
    const DeviceFunctions& functions() const { return m_functions; }
    const std::string& error() const { return m_error; }

private:
    void* symbol(const char* name) const;

    void* m_handle = nullptr;
    DeviceFunctions m_functions{};
    std::string m_error;
};

} // namespace devhost
