// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/WindowsRegistry.h"

#include "usbclean/Win32Values.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace usbclean
{

static_assert(win32::ErrorFileNotFound == ERROR_FILE_NOT_FOUND &&
              win32::ErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(win32::ErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(win32::KeyEnumerateSubKeys == KEY_ENUMERATE_SUB_KEYS && win32::KeyAllAccess == KEY_ALL_ACCESS);
static_assert(win32::WriteDac == WRITE_DAC && win32::ReadControl == READ_CONTROL && win32::Delete == DELETE);
static_assert(win32::PlatformWin32Nt == VER_PLATFORM_WIN32_NT && win32::EwxReboot == EWX_REBOOT);
static_assert(win32::IdYes == IDYES && win32::IdNo == IDNO);
static_assert((win32::MbYesNo | win32::MbIconWarning | win32::MbSystemModal) == 0x1034);
static_assert(win32::AllowedAceFixedSize == sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD));
static_assert(win32::KeyWow64_64Key == KEY_WOW64_64KEY && win32::KeyWow64_32Key == KEY_WOW64_32KEY);
static_assert(win32::AclHeaderSize == sizeof(ACL) && win32::KeyNameBufferSize == MAX_PATH + 1);

namespace
{

// HKEY_LOCAL_MACHINE is sign-extended on 64-bit Windows, so it is mapped rather than cast.
HKEY toHkey(RegKey key)
{
    return key == LocalMachine ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

// Security structures want DWORD alignment, which a byte buffer does not promise.
std::vector<DWORD> alignedBuffer(DWORD bytes)
{
    return std::vector<DWORD>((bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
}

// Looked up at run time: neither call exists on the oldest systems the tool still starts on.
template <typename Function> Function systemFunction(const char* module, const char* name)
{
    const HMODULE handle = GetModuleHandleA(module);
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                  : nullptr;
}

} // namespace

bool WindowsRegistry::hasTwoRegistryViews()
{
#ifdef _WIN64
    return true;
#else
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = systemFunction<IsWow64ProcessFunction>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

std::optional<std::uint32_t> WindowsRegistry::platformId()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return std::nullopt;
    return info.dwPlatformId;
}

long WindowsRegistry::openKey(RegKey parent, const std::string& name, std::uint32_t access, RegKey& key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(toHkey(parent), name.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS)
        key = reinterpret_cast<RegKey>(opened);
    return result;
}

long WindowsRegistry::enumKey(RegKey key, std::uint32_t index, std::string& name)
{
    char buffer[win32::KeyNameBufferSize] = {};
    const LONG result = RegEnumKeyA(toHkey(key), index, buffer, sizeof buffer);
    if (result == ERROR_SUCCESS)
        name.assign(buffer, strnlen(buffer, sizeof buffer));
    return result;
}

long WindowsRegistry::deleteKey(RegKey parent, const std::string& name, std::uint32_t view)
{
    if (view == 0)
        return RegDeleteKeyA(toHkey(parent), name.c_str());
    // RegDeleteKeyA always works in the program's own view; the other view needs the Ex form.
    using RegDeleteKeyExFunction = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    const auto deleteKeyEx = systemFunction<RegDeleteKeyExFunction>("advapi32.dll", "RegDeleteKeyExA");
    if (!deleteKeyEx)
        return RegDeleteKeyA(toHkey(parent), name.c_str());
    return deleteKeyEx(toHkey(parent), name.c_str(), view, 0);
}

void WindowsRegistry::closeKey(RegKey key)
{
    RegCloseKey(toHkey(key));
}

std::optional<Sid> WindowsRegistry::lookupAccount(const std::string& account)
{
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use = SidTypeUnknown;
    if (LookupAccountNameA(nullptr, account.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || sidSize == 0)
        return std::nullopt;
    std::vector<DWORD> sid = alignedBuffer(sidSize);
    std::vector<char> domain(domainSize + 1);
    if (!LookupAccountNameA(nullptr, account.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use))
        return std::nullopt;
    if (!IsValidSid(sid.data()) || GetLengthSid(sid.data()) > sid.size() * sizeof(DWORD))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(sid.data());
    return Sid(bytes, bytes + GetLengthSid(sid.data()));
}

bool WindowsRegistry::readAccessList(RegKey key, std::optional<AccessList>& list)
{
    DWORD size = 0;
    if (RegGetKeySecurity(toHkey(key), DACL_SECURITY_INFORMATION, nullptr, &size) !=
            ERROR_INSUFFICIENT_BUFFER ||
        size == 0)
        return false;
    std::vector<DWORD> buffer = alignedBuffer(size);
    PSECURITY_DESCRIPTOR descriptor = buffer.data();
    if (RegGetKeySecurity(toHkey(key), DACL_SECURITY_INFORMATION, descriptor, &size) != ERROR_SUCCESS ||
        GetSecurityDescriptorLength(descriptor) > buffer.size() * sizeof(DWORD))
        return false;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted))
        return false;
    list.reset();
    if (!present || !acl)
        return true;
    AccessList read;
    read.byteSize = acl->AclSize;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(acl, i, &ace))
            return false;
        const auto* bytes = static_cast<const std::uint8_t*>(ace);
        const WORD aceSize = static_cast<ACE_HEADER*>(ace)->AceSize;
        // An entry reaching past its list would make the copy read beyond the descriptor.
        if (bytes + aceSize > reinterpret_cast<const std::uint8_t*>(acl) + acl->AclSize)
            return false;
        read.entries.push_back(AccessEntry::stored({bytes, bytes + aceSize}));
    }
    list = std::move(read);
    return true;
}

bool WindowsRegistry::writeAccessList(RegKey key, const AccessList& list)
{
    SECURITY_DESCRIPTOR descriptor;
    if (list.byteSize < win32::AclHeaderSize || list.byteSize > win32::MaxAclSize ||
        !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION))
        return false;
    std::vector<DWORD> buffer = alignedBuffer(list.byteSize);
    auto* acl = reinterpret_cast<PACL>(buffer.data());
    if (!InitializeAcl(acl, list.byteSize, ACL_REVISION))
        return false;
    for (const AccessEntry& entry : list.entries) {
        if (entry.madeHere()) {
            std::vector<DWORD> sid = alignedBuffer(static_cast<DWORD>(entry.sid().size()));
            std::memcpy(sid.data(), entry.sid().data(), entry.sid().size());
            if (!AddAccessAllowedAce(acl, ACL_REVISION, entry.mask(), sid.data()))
                return false;
        } else {
            std::vector<DWORD> copy = alignedBuffer(entry.byteSize());
            std::memcpy(copy.data(), entry.bytes().data(), entry.byteSize());
            if (!AddAce(acl, ACL_REVISION, MAXDWORD, copy.data(), entry.byteSize()))
                return false;
        }
    }
    if (!IsValidAcl(acl) || !IsValidSecurityDescriptor(&descriptor) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE))
        return false;
    return RegSetKeySecurity(toHkey(key), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

bool WindowsRegistry::enablePrivilege(const std::string& name)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool enabled = LookupPrivilegeValueA(nullptr, name.c_str(), &privileges.Privileges[0].Luid) &&
                         AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                         GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

int WindowsRegistry::messageBox(const std::string& text, const std::string& caption, std::uint32_t style)
{
    const char* answer = std::getenv(AnswerVariable);
    if (answer && std::strcmp(answer, "no") == 0)
        return IDNO;
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

bool WindowsRegistry::exitWindows(std::uint32_t flags, std::uint32_t reason)
{
    return ExitWindowsEx(flags, reason);
}

} // namespace usbclean
