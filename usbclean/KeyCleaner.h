// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Deletes registry keys with all their sub-keys, opening protected keys up on the NT family by
// giving "Everyone" full access first.
#pragma once

#include "usbclean/RegistryPlatform.h"

#include <string>

namespace usbclean
{

class KeyCleaner
{
public:
    // `view` (a KEY_WOW64_* flag, or 0 for the program's own view) goes with every open and delete.
    KeyCleaner(RegistryPlatform& platform, bool ntFamily, std::uint32_t view = 0);

    // True unless opening the key reports that it does not exist; any other failure counts as
    // existing, since such a key may still be there.
    bool exists(RegKey parent, const std::string& name);

    // Deletes the key and everything below it. A key that does not exist counts as deleted.
    // Sub-keys deleted before a failure stay deleted.
    bool deleteTree(RegKey parent, const std::string& name);

    // Puts a full-access entry for "Everyone" ahead of the key's access list. Silent: any failure
    // leaves the key as it was.
    void grantAccess(RegKey parent, const std::string& name);

private:
    bool deleteSubKeys(RegKey key);
    bool deleteEmptyKey(RegKey parent, const std::string& name);

    RegistryPlatform& m_platform;
    bool m_ntFamily;
    std::uint32_t m_view;
};

} // namespace usbclean
