// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// An in-memory machine for exercising the cleanup anywhere: keys below HKEY_LOCAL_MACHINE with
// access lists, switches for protected and failing keys, recorded questions and restart requests.
#pragma once

#include "usbclean/RegistryPlatform.h"
#include "usbclean/Win32Values.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace usbclean
{

class MemoryRegistry : public RegistryPlatform
{
public:
    struct MessageBoxCall {
        std::string text;
        std::string caption;
        std::uint32_t style = 0;
    };

    MemoryRegistry();

    // The machine. Paths are below HKEY_LOCAL_MACHINE, separated by '\'; names compare without
    // regard to case, as in the registry.
    void setPlatformId(std::optional<std::uint32_t> id) { m_platformId = id; }
    // Makes the machine 64-bit Windows: below Software, the 32-bit view lies in Software\Wow6432Node.
    // A program sees the view of its own build unless it asks for the other with a flag. Without
    // this call there is one view, as on 32-bit Windows, and the flags change nothing.
    void useTwoViews(bool program32Bit)
    {
        m_twoViews = true;
        m_program32Bit = program32Bit;
    }
    void addKey(const std::string& path); // parents are created as needed
    bool hasKey(const std::string& path) const;
    std::vector<std::string> keys() const; // every key, in enumeration order
    void setAccessList(const std::string& path, std::optional<AccessList> list);
    std::optional<AccessList> accessList(const std::string& path) const;
    // Deletion fails with ERROR_ACCESS_DENIED until the key's access list lets "Everyone" delete.
    void denyDeletionUntilGranted(const std::string& path);
    // Every open of the key fails with `error`; ERROR_FILE_NOT_FOUND makes a key that the
    // enumeration lists but that cannot be opened by that name.
    void failOpen(const std::string& path, long error);
    void failSecurityRead(const std::string& path);
    void removeAccount(const std::string& account) { m_accounts.erase(account); }
    static Sid everyoneSid();

    // The user.
    void setAnswer(int answer) { m_answer = answer; }

    // What the program did besides the registry.
    const std::vector<MessageBoxCall>& messageBoxes() const { return m_messageBoxes; }
    const std::vector<std::string>& enabledPrivileges() const { return m_privileges; }
    // Flags and reason of each restart request.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& restartRequests() const { return m_restarts; }
    int accessListWrites() const { return m_accessListWrites; }
    // Handles opened and not closed, and closes of handles that were not open.
    std::size_t openHandles() const { return m_handles.size(); }
    int strayCloses() const { return m_strayCloses; }

    std::optional<std::uint32_t> platformId() override { return m_platformId; }
    bool hasTwoRegistryViews() override { return m_twoViews; }
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

private:
    struct Key {
        std::string path;
        std::optional<AccessList> accessList;
        bool denyDeletionUntilGranted = false;
        long openError = win32::ErrorSuccess;
        bool securityUnreadable = false;
    };
    struct Handle {
        std::string id;
        std::uint32_t access = 0;
    };

    static std::string idOf(const std::string& path);
    long resolve(RegKey parent, const std::string& name, std::uint32_t view, std::string& id) const;
    std::string inView(const std::string& id, std::uint32_t view) const;
    Key* keyOf(RegKey handle, std::uint32_t access, long& error);
    std::vector<const Key*> children(const std::string& id) const;
    bool deletionAllowed(const Key& key) const;

    std::optional<std::uint32_t> m_platformId = win32::PlatformWin32Nt;
    bool m_twoViews = false;
    bool m_program32Bit = false;
    std::map<std::string, Key> m_keys; // by lower-case path
    std::map<RegKey, Handle> m_handles;
    RegKey m_nextHandle = 0x1000;
    std::map<std::string, Sid> m_accounts;
    int m_answer = win32::IdNo;
    std::vector<MessageBoxCall> m_messageBoxes;
    std::vector<std::string> m_privileges;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_restarts;
    int m_accessListWrites = 0;
    int m_strayCloses = 0;
};

} // namespace usbclean
