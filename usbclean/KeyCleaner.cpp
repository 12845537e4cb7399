// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/KeyCleaner.h"

#include "usbclean/Win32Values.h"

namespace usbclean
{

namespace
{
constexpr const char* EveryoneAccount = "Everyone";
} // namespace

KeyCleaner::KeyCleaner(RegistryPlatform& platform, bool ntFamily, std::uint32_t view)
    : m_platform(platform), m_ntFamily(ntFamily), m_view(view)
{
}

bool KeyCleaner::exists(RegKey parent, const std::string& name)
{
    RegKey key = 0;
    const long result = m_platform.openKey(parent, name, win32::KeyEnumerateSubKeys | m_view, key);
    if (result == win32::ErrorSuccess)
        m_platform.closeKey(key);
    return result != win32::ErrorFileNotFound;
}

bool KeyCleaner::deleteTree(RegKey parent, const std::string& name)
{
    RegKey key = 0;
    const long opened = m_platform.openKey(parent, name, win32::KeyEnumerateSubKeys | m_view, key);
    if (opened == win32::ErrorFileNotFound)
        return true;
    if (opened != win32::ErrorSuccess)
        return false;
    // A failed sub-key leaves this key non-empty; its own deletion below then fails and says so.
    deleteSubKeys(key);
    m_platform.closeKey(key);
    return deleteEmptyKey(parent, name);
}

bool KeyCleaner::deleteSubKeys(RegKey key)
{
    std::string previous;
    for (;;) {
        // Always index 0: the sub-key found last time has just been removed.
        std::string child;
        if (m_platform.enumKey(key, 0, child) != win32::ErrorSuccess)
            return true;
        // A sub-key that the enumeration lists but that cannot be opened by that name (a name the
        // ANSI code page cannot carry) "deletes" without going away; asking again would never end.
        if (child == previous)
            return false;
        if (!deleteTree(key, child))
            return false;
        previous = std::move(child);
    }
}

bool KeyCleaner::deleteEmptyKey(RegKey parent, const std::string& name)
{
    const long result = m_platform.deleteKey(parent, name, m_view);
    if (result == win32::ErrorSuccess)
        return true;
    if (result != win32::ErrorAccessDenied || !m_ntFamily)
        return false;
    grantAccess(parent, name);
    return m_platform.deleteKey(parent, name, m_view) == win32::ErrorSuccess;
}

void KeyCleaner::grantAccess(RegKey parent, const std::string& name)
{
    const std::optional<Sid> everyone = m_platform.lookupAccount(EveryoneAccount);
    if (!everyone || everyone->empty())
        return;
    RegKey key = 0;
    if (m_platform.openKey(parent, name, win32::WriteDac | win32::ReadControl | m_view, key) !=
        win32::ErrorSuccess)
        return;
    std::optional<AccessList> old;
    // Without an access list the key is open to all already; a null list is left alone too.
    if (m_platform.readAccessList(key, old) && old)
        m_platform.writeAccessList(key, widenedAccessList(*old, *everyone, win32::KeyAllAccess));
    // The old list is not put back: the key is about to be deleted.
    m_platform.closeKey(key);
}

} // namespace usbclean
