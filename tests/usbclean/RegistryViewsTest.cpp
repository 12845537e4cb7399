// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The in-memory machine's two registry views, which the cleanup's tests rely on to stand for
// 64-bit Windows: redirection of Software only, per build and per flag, and handles that stay in
// the view they were opened in.
#include "usbclean/MemoryRegistry.h"

#include <gtest/gtest.h>

using namespace usbclean;

namespace
{

constexpr std::uint32_t View32 = win32::KeyWow64_32Key;
constexpr std::uint32_t View64 = win32::KeyWow64_64Key;

// Opens `path` below the root with `view`; the error code, the handle closed again.
long openIn(MemoryRegistry& registry, const std::string& path, std::uint32_t view)
{
    RegKey key = 0;
    const long result = registry.openKey(LocalMachine, path, win32::KeyEnumerateSubKeys | view, key);
    if (result == win32::ErrorSuccess)
        registry.closeKey(key);
    return result;
}

TEST(RegistryViewsTest, SoftwareOfTheOtherViewIsReachedOnlyWithItsFlag)
{
    for (const bool program32 : {false, true}) {
        MemoryRegistry registry;
        registry.useTwoViews(program32);
        registry.addKey("SOFTWARE\\Wow6432Node\\Only32");
        registry.addKey("SOFTWARE\\Only64");
        const long own32 = program32 ? win32::ErrorSuccess : win32::ErrorFileNotFound;
        EXPECT_EQ(openIn(registry, "Software\\Only32", 0), own32);
        EXPECT_EQ(openIn(registry, "Software\\Only32", View32), win32::ErrorSuccess);
        EXPECT_EQ(openIn(registry, "Software\\Only32", View64), win32::ErrorFileNotFound);
        EXPECT_EQ(openIn(registry, "Software\\Only64", View64), win32::ErrorSuccess);
        EXPECT_EQ(openIn(registry, "Software\\Only64", View32), win32::ErrorFileNotFound);
        EXPECT_TRUE(registry.hasTwoRegistryViews());
    }
}

TEST(RegistryViewsTest, SystemKeysAreSharedByBothViews)
{
    MemoryRegistry registry;
    registry.useTwoViews(true);
    registry.addKey("SYSTEM\\CurrentControlSet\\Services\\WinDriver");
    for (const std::uint32_t view : {0u, View32, View64})
        EXPECT_EQ(openIn(registry, "System\\CurrentControlSet\\Services\\WinDriver", view),
                  win32::ErrorSuccess);
    // A name that merely begins with "Software" is not redirected.
    registry.addKey("SoftwareDistribution");
    EXPECT_EQ(openIn(registry, "SoftwareDistribution", View32), win32::ErrorSuccess);
}

TEST(RegistryViewsTest, KeysBelowAnOpenedKeyStayInItsView)
{
    MemoryRegistry registry;
    registry.useTwoViews(false);
    registry.addKey("SOFTWARE\\Wow6432Node\\Jungo\\Child");
    registry.addKey("SOFTWARE\\Jungo");
    RegKey jungo = 0;
    ASSERT_EQ(registry.openKey(LocalMachine, "Software\\Jungo", win32::KeyEnumerateSubKeys | View32, jungo),
              win32::ErrorSuccess);
    std::string child;
    ASSERT_EQ(registry.enumKey(jungo, 0, child), win32::ErrorSuccess);
    EXPECT_EQ(child, "Child");
    EXPECT_EQ(registry.deleteKey(jungo, child, View64), win32::ErrorSuccess);
    EXPECT_FALSE(registry.hasKey("SOFTWARE\\Wow6432Node\\Jungo\\Child"));
    registry.closeKey(jungo);
    EXPECT_EQ(registry.deleteKey(LocalMachine, "Software\\Jungo", View32), win32::ErrorSuccess);
    EXPECT_FALSE(registry.hasKey("SOFTWARE\\Wow6432Node\\Jungo"));
    EXPECT_TRUE(registry.hasKey("SOFTWARE\\Jungo"));
}

TEST(RegistryViewsTest, WithOneViewTheFlagsChangeNothing)
{
    MemoryRegistry registry;
    registry.addKey("SOFTWARE\\Jungo");
    EXPECT_FALSE(registry.hasTwoRegistryViews());
    for (const std::uint32_t view : {0u, View32, View64})
        EXPECT_EQ(openIn(registry, "Software\\Jungo", view), win32::ErrorSuccess);
    EXPECT_EQ(openIn(registry, "Software\\Wow6432Node\\Jungo", 0), win32::ErrorFileNotFound);
}

} // namespace
