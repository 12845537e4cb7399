// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/MemoryRegistry.h"

#include <algorithm>
#include <cctype>

namespace usbclean
{

MemoryRegistry::MemoryRegistry() : m_accounts{{"Everyone", everyoneSid()}} {}

Sid MemoryRegistry::everyoneSid()
{
    // S-1-1-0: revision 1, one sub-authority, world authority 1, sub-authority 0.
    return {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
}

std::string MemoryRegistry::idOf(const std::string& path)
{
    std::string id = path;
    std::transform(id.begin(), id.end(), id.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return id;
}

void MemoryRegistry::addKey(const std::string& path)
{
    for (std::size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
        const std::string prefix = path.substr(0, end);
        m_keys.try_emplace(idOf(prefix), Key{prefix, {}, false, win32::ErrorSuccess, false});
        if (end == std::string::npos)
            return;
    }
}

bool MemoryRegistry::hasKey(const std::string& path) const
{
    return m_keys.count(idOf(path)) != 0;
}

std::vector<std::string> MemoryRegistry::keys() const
{
    std::vector<std::string> paths;
    for (const auto& [id, key] : m_keys)
        paths.push_back(key.path);
    return paths;
}

void MemoryRegistry::setAccessList(const std::string& path, std::optional<AccessList> list)
{
    addKey(path);
    m_keys.at(idOf(path)).accessList = std::move(list);
}

std::optional<AccessList> MemoryRegistry::accessList(const std::string& path) const
{
    const auto it = m_keys.find(idOf(path));
    return it == m_keys.end() ? std::nullopt : it->second.accessList;
}

void MemoryRegistry::denyDeletionUntilGranted(const std::string& path)
{
    addKey(path);
    m_keys.at(idOf(path)).denyDeletionUntilGranted = true;
}

void MemoryRegistry::failOpen(const std::string& path, long error)
{
    addKey(path);
    m_keys.at(idOf(path)).openError = error;
}

void MemoryRegistry::failSecurityRead(const std::string& path)
{
    addKey(path);
    m_keys.at(idOf(path)).securityUnreadable = true;
}

std::string MemoryRegistry::inView(const std::string& id, std::uint32_t view) const
{
    const bool view32 =
        (view & win32::KeyWow64_32Key) != 0 || ((view & win32::KeyWow64_64Key) == 0 && m_program32Bit);
    if (!m_twoViews || !view32)
        return id;
    static const std::string software = "software";
    static const std::string redirected = "software\\wow6432node";
    if (!id.starts_with(software) || (id.size() > software.size() && id[software.size()] != '\\') ||
        id.starts_with(redirected))
        return id;
    return redirected + id.substr(software.size());
}

long MemoryRegistry::resolve(RegKey parent, const std::string& name, std::uint32_t view,
                             std::string& id) const
{
    std::string base;
    if (parent != LocalMachine) {
        const auto handle = m_handles.find(parent);
        if (handle == m_handles.end())
            return win32::ErrorInvalidHandle;
        if (m_keys.count(handle->second.id) == 0)
            return win32::ErrorKeyDeleted;
        base = handle->second.id;
    }
    id = base.empty() || name.empty() ? base + idOf(name) : base + "\\" + idOf(name);
    // A key opened below the root stays in the view it was opened in.
    if (parent == LocalMachine)
        id = inView(id, view);
    return win32::ErrorSuccess;
}

MemoryRegistry::Key* MemoryRegistry::keyOf(RegKey handle, std::uint32_t access, long& error)
{
    const auto it = m_handles.find(handle);
    if (it == m_handles.end()) {
        error = win32::ErrorInvalidHandle;
        return nullptr;
    }
    if ((it->second.access & access) != access) {
        error = win32::ErrorAccessDenied;
        return nullptr;
    }
    const auto key = m_keys.find(it->second.id);
    error = key == m_keys.end() ? win32::ErrorKeyDeleted : win32::ErrorSuccess;
    return key == m_keys.end() ? nullptr : &key->second;
}

std::vector<const MemoryRegistry::Key*> MemoryRegistry::children(const std::string& id) const
{
    std::vector<const Key*> found;
    const std::string prefix = id + "\\";
    for (auto it = m_keys.lower_bound(prefix); it != m_keys.end() && it->first.starts_with(prefix); ++it) {
        if (it->first.find('\\', prefix.size()) == std::string::npos)
            found.push_back(&it->second);
    }
    return found;
}

long MemoryRegistry::openKey(RegKey parent, const std::string& name, std::uint32_t access, RegKey& key)
{
    std::string id;
    constexpr std::uint32_t views = win32::KeyWow64_32Key | win32::KeyWow64_64Key;
    if (const long error = resolve(parent, name, access & views, id); error != win32::ErrorSuccess)
        return error;
    const auto it = m_keys.find(id);
    if (it == m_keys.end())
        return win32::ErrorFileNotFound;
    if (it->second.openError != win32::ErrorSuccess)
        return it->second.openError;
    key = m_nextHandle++;
    m_handles[key] = Handle{id, access};
    return win32::ErrorSuccess;
}

long MemoryRegistry::enumKey(RegKey key, std::uint32_t index, std::string& name)
{
    long error = win32::ErrorSuccess;
    const Key* parent = keyOf(key, win32::KeyEnumerateSubKeys, error);
    if (!parent)
        return error;
    const std::vector<const Key*> found = children(idOf(parent->path));
    if (index >= found.size())
        return win32::ErrorNoMoreItems;
    const std::string& path = found[index]->path;
    const std::string child = path.substr(path.rfind('\\') + 1);
    if (child.size() >= win32::KeyNameBufferSize)
        return win32::ErrorMoreData;
    name = child;
    return win32::ErrorSuccess;
}

bool MemoryRegistry::deletionAllowed(const Key& key) const
{
    if (!key.denyDeletionUntilGranted)
        return true;
    if (!key.accessList)
        return false;
    return std::any_of(key.accessList->entries.begin(), key.accessList->entries.end(),
                       [](const AccessEntry& entry) { return entry.allows(everyoneSid(), win32::Delete); });
}

long MemoryRegistry::deleteKey(RegKey parent, const std::string& name, std::uint32_t view)
{
    std::string id;
    if (const long error = resolve(parent, name, view, id); error != win32::ErrorSuccess)
        return error;
    const auto it = m_keys.find(id);
    if (it == m_keys.end())
        return win32::ErrorFileNotFound;
    // Windows refuses to delete a key that still has sub-keys with this same code.
    if (!children(id).empty() || !deletionAllowed(it->second))
        return win32::ErrorAccessDenied;
    m_keys.erase(it);
    return win32::ErrorSuccess;
}

void MemoryRegistry::closeKey(RegKey key)
{
    if (m_handles.erase(key) == 0)
        ++m_strayCloses;
}

std::optional<Sid> MemoryRegistry::lookupAccount(const std::string& account)
{
    const auto it = m_accounts.find(account);
    return it == m_accounts.end() ? std::nullopt : std::optional<Sid>(it->second);
}

bool MemoryRegistry::readAccessList(RegKey key, std::optional<AccessList>& list)
{
    long error = win32::ErrorSuccess;
    const Key* found = keyOf(key, win32::ReadControl, error);
    if (!found || found->securityUnreadable)
        return false;
    list = found->accessList;
    return true;
}

bool MemoryRegistry::writeAccessList(RegKey key, const AccessList& list)
{
    long error = win32::ErrorSuccess;
    Key* found = keyOf(key, win32::WriteDac, error);
    if (!found)
        return false;
    // The checks InitializeAcl, AddAce and IsValidAcl make: the entries must fit the declared size.
    std::uint32_t used = win32::AclHeaderSize;
    for (const AccessEntry& entry : list.entries) {
        if (entry.byteSize() < win32::AllowedAceFixedSize)
            return false;
        used += entry.byteSize();
    }
    if (list.byteSize > win32::MaxAclSize || used > list.byteSize)
        return false;
    found->accessList = list;
    ++m_accessListWrites;
    return true;
}

bool MemoryRegistry::enablePrivilege(const std::string& name)
{
    m_privileges.push_back(name);
    return true;
}

int MemoryRegistry::messageBox(const std::string& text, const std::string& caption, std::uint32_t style)
{
    m_messageBoxes.push_back({text, caption, style});
    return m_answer;
}

bool MemoryRegistry::exitWindows(std::uint32_t flags, std::uint32_t reason)
{
    m_restarts.emplace_back(flags, reason);
    return true;
}

} // namespace usbclean
