// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "devhost/WinePaths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace devhost
{

std::string toLibraryPath(const std::string& path)
{
#ifdef _WIN32
    if (path.empty() || path[0] != '/')
        return path;
    // Only Wine's kernel32 has this export; on Windows a path starting with '/' stays as given.
    using Convert = WCHAR*(CDECL*)(const char*);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto convert = kernel ? reinterpret_cast<Convert>(reinterpret_cast<void*>(
                                      GetProcAddress(kernel, "wine_get_dos_file_name")))
                                : nullptr;
    if (!convert)
        return path;
    WCHAR* wide = convert(path.c_str());
    if (!wide)
        return path;
    std::string result;
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
        result.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, result.data(), size, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(size - 1));
    }
    HeapFree(GetProcessHeap(), 0, wide);
    return result.empty() ? path : result;
#else
    return path;
#endif
}

} // namespace devhost
