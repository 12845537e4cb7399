// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The cleanup's services on Windows: the ANSI registry, security, privilege, message box and
// restart calls of Win32, one to one.
#pragma once

#include "usbclean/RegistryPlatform.h"

namespace usbclean
{

class WindowsRegistry : public RegistryPlatform
{
public:
    // Set to "no", this variable answers the restart question with No without showing it, so
    // scripted runs (the tests under Wine) never block on a window. Nothing can answer Yes.
    static constexpr const char* AnswerVariable = "USBCLEAN_REBOOT_ANSWER";

    std::optional<std::uint32_t> platformId() override;
    bool hasTwoRegistryViews() override;
    long openKey(RegKey parent, const std::string& name, std::uint32_t access, RegKey& key) override;
    long enumKey(RegKey key, std::uint32_t index, std::string& name) override;
    long deleteKey(RegKey parent, const std::string& name, std::uint32_t view) override;
    void closeKey(RegKey key) override;
    std::optional<Sid> lookupAccount(const std::string& account) override;
    bool readAccessList(RegKey key, std::optional<AccessList>& list) override;
    bool writeAccessList(RegKey key, const AccessList& list) override;
    bool enablePrivilege(const std::string& name) override;
    int messageBox(const std::string& text, const std::string& caption, std::uint32_t style) override;
    bool exitWindows(std::uint32_t flags, std::uint32_t reason) override;
};

} // namespace usbclean
