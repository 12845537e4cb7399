// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/KeyCleaner.h"
#include "usbclean/MemoryRegistry.h"

#include <gtest/gtest.h>

using namespace usbclean;

namespace
{

const std::string Device = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_1234&Pid_5678";

// Two entries as a key might carry them: SYSTEM full access, Users read, with 4 bytes of slack.
AccessList systemAndUsersList()
{
    const Sid system{1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    const Sid users{1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 33, 2, 0, 0};
    AccessList list;
    list.entries = {AccessEntry::stored(AccessEntry::allow(win32::KeyAllAccess, system).bytes()),
                    AccessEntry::stored(AccessEntry::allow(0x20019, users).bytes())};
    list.byteSize = win32::AclHeaderSize + 20 + 24 + 4;
    return list;
}

class KeyCleanerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_EQ(registry.openHandles(), 0u);
        EXPECT_EQ(registry.strayCloses(), 0);
    }

    MemoryRegistry registry;
    KeyCleaner cleaner{registry, true};
};

TEST_F(KeyCleanerTest, KeyCountsAsExistingUnlessOpenReportsItMissing)
{
    registry.addKey(Device);
    registry.addKey("Software\\Locked");
    registry.failOpen("Software\\Locked", win32::ErrorAccessDenied);
    EXPECT_TRUE(cleaner.exists(LocalMachine, Device));
    EXPECT_TRUE(cleaner.exists(LocalMachine, "Software\\Locked"));
    EXPECT_FALSE(cleaner.exists(LocalMachine, "Software\\Nothing"));
}

TEST_F(KeyCleanerTest, DeletesNestedSubKeysWhateverTheirCase)
{
    registry.addKey(Device + "\\6&1A2B\\Device Parameters\\Deep");
    registry.addKey(Device + "\\7&FF00\\Control");
    registry.addKey("SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_1234&Pid_9999");
    EXPECT_TRUE(cleaner.deleteTree(LocalMachine, "system\\currentcontrolset\\enum\\usb\\VID_1234&PID_5678"));
    EXPECT_FALSE(registry.hasKey(Device));
    EXPECT_TRUE(registry.hasKey("SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_1234&Pid_9999"));
}

TEST_F(KeyCleanerTest, MissingKeyCountsAsDeleted)
{
    EXPECT_TRUE(cleaner.deleteTree(LocalMachine, Device));
}

TEST_F(KeyCleanerTest, KeyThatCannotBeOpenedIsNotDeleted)
{
    registry.addKey(Device + "\\Sub");
    registry.failOpen(Device, win32::ErrorAccessDenied);
    EXPECT_FALSE(cleaner.deleteTree(LocalMachine, Device));
    EXPECT_TRUE(registry.hasKey(Device + "\\Sub"));
}

TEST_F(KeyCleanerTest, SubKeyListedButNotOpenableFailsInsteadOfLoopingForever)
{
    registry.addKey(Device + "\\A");
    registry.addKey(Device + "\\Lost?Name");
    registry.failOpen(Device + "\\Lost?Name", win32::ErrorFileNotFound);
    EXPECT_FALSE(cleaner.deleteTree(LocalMachine, Device));
    EXPECT_FALSE(registry.hasKey(Device + "\\A"));
    EXPECT_TRUE(registry.hasKey(Device));
}

TEST_F(KeyCleanerTest, ProtectedSubKeyIsOpenedUpAndDeleted)
{
    registry.addKey(Device + "\\Sub\\Protected");
    registry.setAccessList(Device + "\\Sub\\Protected", systemAndUsersList());
    registry.denyDeletionUntilGranted(Device + "\\Sub\\Protected");
    EXPECT_TRUE(cleaner.deleteTree(LocalMachine, Device));
    EXPECT_FALSE(registry.hasKey(Device));
    EXPECT_EQ(registry.accessListWrites(), 1);
}

TEST_F(KeyCleanerTest, OtherFamilyDoesNotTouchAccessLists)
{
    KeyCleaner consumer(registry, false);
    registry.setAccessList(Device, systemAndUsersList());
    registry.denyDeletionUntilGranted(Device);
    EXPECT_FALSE(consumer.deleteTree(LocalMachine, Device));
    EXPECT_EQ(registry.accessListWrites(), 0);
}

TEST_F(KeyCleanerTest, GrantPutsEveryoneFirstAndKeepsTheOldEntriesInOrder)
{
    const AccessList old = systemAndUsersList();
    registry.setAccessList(Device, old);
    cleaner.grantAccess(LocalMachine, Device);

    const std::optional<AccessList> widened = registry.accessList(Device);
    ASSERT_TRUE(widened);
    EXPECT_EQ(widened->byteSize, old.byteSize + 12 + 8);
    ASSERT_EQ(widened->entries.size(), 3u);
    EXPECT_TRUE(widened->entries[0].madeHere());
    EXPECT_EQ(widened->entries[0].mask(), 0xF003Fu);
    EXPECT_EQ(widened->entries[0].sid(), MemoryRegistry::everyoneSid());
    EXPECT_EQ(widened->entries[0].byteSize(), 20u);
    EXPECT_EQ(widened->entries[1].bytes(), old.entries[0].bytes());
    EXPECT_EQ(widened->entries[2].bytes(), old.entries[1].bytes());
}

TEST_F(KeyCleanerTest, GrantChangesNothingWhenItCannotProceed)
{
    registry.addKey(Device);
    cleaner.grantAccess(LocalMachine, Device); // no access list: open to all already
    registry.setAccessList("Software\\Unreadable", systemAndUsersList());
    registry.failSecurityRead("Software\\Unreadable");
    cleaner.grantAccess(LocalMachine, "Software\\Unreadable");
    cleaner.grantAccess(LocalMachine, "Software\\Missing");
    registry.setAccessList("Software\\NoEveryone", systemAndUsersList());
    registry.removeAccount("Everyone");
    cleaner.grantAccess(LocalMachine, "Software\\NoEveryone");

    EXPECT_EQ(registry.accessListWrites(), 0);
    EXPECT_FALSE(registry.accessList(Device));
    EXPECT_EQ(registry.accessList("Software\\NoEveryone")->entries.size(), 2u);
}

TEST(AccessEntryTest, AllowedEntryHasTheBinaryLayoutOfAccessAllowedAce)
{
    const AccessEntry entry = AccessEntry::allow(0xF003F, MemoryRegistry::everyoneSid());
    const std::vector<std::uint8_t> expected{0, 0, 20, 0, 0x3F, 0, 0x0F, 0, 1, 1,
                                             0, 0, 0,  0, 0,    1, 0,    0, 0, 0};
    EXPECT_EQ(entry.bytes(), expected);
    EXPECT_TRUE(entry.allows(MemoryRegistry::everyoneSid(), win32::Delete));
    EXPECT_FALSE(AccessEntry::stored({0, 0, 4}).allows(MemoryRegistry::everyoneSid(), 0));
}

} // namespace
