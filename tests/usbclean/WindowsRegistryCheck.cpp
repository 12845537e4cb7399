// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Checks the Windows backend against a real registry (Wine's in the tests), where access lists
// cannot be made to refuse a deletion: WindowsRegistryCheck KEY widens the access list of HKLM\KEY
// as the cleanup does before a second delete, and verifies what the registry then holds.
// Exit status 0 when every check holds; each failed check is printed.
#include "usbclean/KeyCleaner.h"
#include "usbclean/Win32Values.h"
#include "usbclean/WindowsRegistry.h"

#include <cstdio>

using namespace usbclean;

namespace
{

int g_failures = 0;

void check(bool condition, const char* what)
{
    if (!condition) {
        std::printf("FAILED: %s\n", what);
        ++g_failures;
    }
}

std::optional<AccessList> readList(WindowsRegistry& platform, const char* path)
{
    RegKey key = 0;
    std::optional<AccessList> list;
    if (platform.openKey(LocalMachine, path, win32::ReadControl, key) != win32::ErrorSuccess)
        return std::nullopt;
    check(platform.readAccessList(key, list), "the access list can be read");
    platform.closeKey(key);
    return list;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    WindowsRegistry platform;
    check(platform.platformId() == win32::PlatformWin32Nt, "the version query reports the NT family");
    const Sid everyone{1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    check(platform.lookupAccount("Everyone") == everyone, "\"Everyone\" is S-1-1-0");
    check(!platform.lookupAccount("No Such Account 7f3a"), "an unknown account has no identifier");
    check(platform.enablePrivilege("SeShutdownPrivilege"), "the shutdown privilege can be enabled");

    const std::optional<AccessList> before = readList(platform, argv[1]);
    check(before && !before->entries.empty(), "the key starts with a non-empty access list");
    KeyCleaner(platform, true).grantAccess(LocalMachine, argv[1]);
    const std::optional<AccessList> after = readList(platform, argv[1]);
    check(after.has_value(), "the key still has an access list");
    if (before && after) {
        check(after->byteSize == before->byteSize + everyone.size() + 8, "the list grew by one entry");
        check(after->entries.size() == before->entries.size() + 1, "one entry was added");
        check(!after->entries.empty() && after->entries[0].allows(everyone, win32::KeyAllAccess),
              "the first entry gives Everyone full access");
        for (std::size_t i = 0; i < before->entries.size() && i + 1 < after->entries.size(); ++i)
            check(after->entries[i + 1].bytes() == before->entries[i].bytes(), "an old entry kept its place");
    }
    std::printf("%d failed checks\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
