// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <QDir>
#include <QFile>

SharedLibrary::~SharedLibrary()
{
    if (!m_handle)
        return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(m_handle));
#else
    dlclose(m_handle);
#endif
}

bool SharedLibrary::open(const QString& path)
{
#ifdef _WIN32
    // LoadLibrary wants backslashes; a path with forward slashes may not be found.
    const QString nativePath = QDir::toNativeSeparators(path);
    m_handle = LoadLibraryW(reinterpret_cast<const wchar_t*>(nativePath.utf16()));
    if (!m_handle)
        m_error = QStringLiteral("Windows error %1").arg(GetLastError());
#else
    // RTLD_NOW: a library with unresolved symbols fails here, not in the middle of an operation.
    m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = dlerror();
        m_error = reason ? QString::fromLocal8Bit(reason) : QString();
    }
#endif
    return m_handle != nullptr;
}

void* SharedLibrary::symbol(const char* name) const
{
    if (!m_handle)
        return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}
