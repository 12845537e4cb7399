// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "devhost/HostLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace devhost
{

namespace
{

template <typename Function>
void resolve(void* address, const char* name, Function& slot, std::string& missing)
{
    if (!address)
        missing += (missing.empty() ? "" : ", ") + std::string(name);
    slot = reinterpret_cast<Function>(address);
}

#ifdef _WIN32
std::string lastErrorText()
{
    char* text = nullptr;
    const DWORD code = GetLastError();
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    return result;
}
#endif

} // namespace

HostLibrary::~HostLibrary()
{
    // The library stays loaded until the host ends: a vendor library may keep threads running
    // that must not lose their code under them.
}

void* HostLibrary::symbol(const char* name) const
{
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}

bool HostLibrary::open(const std::string& path)
{
#ifdef _WIN32
    m_handle = LoadLibraryA(path.c_str());
    if (!m_handle) {
        m_error = "the device library " + path + " could not be loaded (" + lastErrorText() + ")";
        return false;
    }
#else
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = dlerror();
        m_error =
            "the device library " + path + " could not be loaded (" + (reason ? reason : "unknown") + ")";
        return false;
    }
#endif
    DeviceFunctions table{};
    std::string missing;
    resolve(symbol("TCC730_StartDLL"), "TCC730_StartDLL", table.StartDLL, missing);
    resolve(symbol("TCC730_ExitDLL"), "TCC730_ExitDLL", table.ExitDLL, missing);
    resolve(symbol("TCC730_TestConnection"), "TCC730_TestConnection", table.TestConnection, missing);
    resolve(symbol("TCC730_Open"), "TCC730_Open", table.Open, missing);
    resolve(symbol("TCC730_Close"), "TCC730_Close", table.Close, missing);
    resolve(symbol("TCC730_GetMediumInfo"), "TCC730_GetMediumInfo", table.GetMediumInfo, missing);
    resolve(symbol("TCC730_Refresh"), "TCC730_Refresh", table.Refresh, missing);
    resolve(symbol("TCC730_Rename"), "TCC730_Rename", table.Rename, missing);
    resolve(symbol("TCC730_Replace"), "TCC730_Replace", table.Replace, missing);
    resolve(symbol("TCC730_Delete"), "TCC730_Delete", table.Delete, missing);
    resolve(symbol("TCC730_Download"), "TCC730_Download", table.Download, missing);
    resolve(symbol("TCC730_Upload"), "TCC730_Upload", table.Upload, missing);
    resolve(symbol("TCC730_Format"), "TCC730_Format", table.Format, missing);
    resolve(symbol("TCC730_FormatLow"), "TCC730_FormatLow", table.FormatLow, missing);
    resolve(symbol("ConvertHexToBin"), "ConvertHexToBin", table.ConvertHexToBin, missing);
    resolve(symbol("TCC730_UpgradeFirmware"), "TCC730_UpgradeFirmware", table.UpgradeFirmware, missing);
    if (!missing.empty()) {
        m_error = "the device library " + path + " lacks the function(s) " + missing;
        return false;
    }
    m_functions = table;
    return true;
}

} // namespace devhost
