// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The registry, security and shutdown services the driver cleanup needs. WindowsRegistry maps
// them one to one onto the ANSI Win32 calls; MemoryRegistry plays them in memory for tests.
#pragma once

#include "usbclean/AccessList.h"

#include <cstdint>
#include <optional>
#include <string>

namespace usbclean
{

// An open key or a predefined root, as the Win32 HKEY value.
using RegKey = std::uintptr_t;
inline constexpr RegKey LocalMachine = 0x80000002;

class RegistryPlatform
{
public:
    virtual ~RegistryPlatform() = default;

    // The platform identifier of the version query; nothing when the query fails.
    virtual std::optional<std::uint32_t> platformId() = 0;

    // True on 64-bit Windows, where 32-bit and 64-bit programs see separate software keys (the
    // 32-bit view lies under Software\Wow6432Node) and either can reach the other's with a view flag.
    virtual bool hasTwoRegistryViews() = 0;

    // Registry calls; the long results are Win32 error codes (0 for success). `access` of an open
    // may carry a view flag (KEY_WOW64_32KEY, KEY_WOW64_64KEY).
    virtual long openKey(RegKey parent, const std::string& name, std::uint32_t access, RegKey& key) = 0;
    // The name of sub-key `index`, read into a buffer of 261 bytes.
    virtual long enumKey(RegKey key, std::uint32_t index, std::string& name) = 0;
    // Deletes a key that has no sub-keys, in the registry view `view` (0: the program's own).
    virtual long deleteKey(RegKey parent, const std::string& name, std::uint32_t view) = 0;
    virtual void closeKey(RegKey key) = 0;

    // The valid identifier of the named account; nothing when it is unknown or invalid.
    virtual std::optional<Sid> lookupAccount(const std::string& account) = 0;
    // Reads the access list of a key opened with READ_CONTROL. False when the security cannot be
    // read; otherwise `list` is empty when the key has no access list or a null one.
    virtual bool readAccessList(RegKey key, std::optional<AccessList>& list) = 0;
    // Writes `list` as the key's access list in a fresh descriptor (key opened with WRITE_DAC).
    // False, and nothing written, when the list cannot be built or is not valid.
    virtual bool writeAccessList(RegKey key, const AccessList& list) = 0;

    // Enables the named privilege in the process token; the result only informs.
    virtual bool enablePrivilege(const std::string& name) = 0;
    // A message box without owner; the answer (IDYES, IDNO, or 0 on failure).
    virtual int messageBox(const std::string& text, const std::string& caption, std::uint32_t style) = 0;
    // Asks Windows to end the session with `flags`.
    virtual bool exitWindows(std::uint32_t flags, std::uint32_t reason) = 0;
};

} // namespace usbclean
