// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/DriverCleanup.h"
#include "usbclean/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace usbclean;

namespace
{

const std::string NtDevice = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_04E8&Pid_1F06";
const std::string OtherDevice = "Enum\\USB\\Vid_04E8&Pid_1F06";
const std::string WinDriver = "SYSTEM\\CurrentControlSet\\Services\\WinDriver";
const std::string Wdpnp = "SYSTEM\\CurrentControlSet\\Services\\wdpnp";
const std::string Vendor = "SOFTWARE\\Jungo";
// Neighbours that must survive every run.
const std::string Neighbours[] = {"SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_04E8&Pid_1F07",
                                  "SYSTEM\\CurrentControlSet\\Services\\usbhub", "SOFTWARE\\Jungle"};

class DriverCleanupTest : public ::testing::Test
{
protected:
    DriverCleanupTest()
    {
        for (const std::string& key : Neighbours)
            registry.addKey(key);
    }

    void installOldDriver(const std::string& device = NtDevice)
    {
        registry.addKey(device + "\\6&2F1C0A7&0&1\\Device Parameters");
        registry.addKey(device + "\\6&2F1C0A7&0&1\\LogConf");
        registry.addKey(WinDriver + "\\Enum");
        registry.addKey(Wdpnp + "\\Parameters");
        registry.addKey(Vendor + "\\WinDriver\\6.0");
    }

    int run(const std::vector<std::string>& args)
    {
        const int status = runDriverCleanup(registry, args, console);
        EXPECT_EQ(registry.openHandles(), 0u);
        for (const std::string& key : Neighbours)
            EXPECT_TRUE(registry.hasKey(key)) << key;
        return status;
    }

    MemoryRegistry registry;
    std::ostringstream console;
};

TEST_F(DriverCleanupTest, WrongArgumentCountFailsSilentlyAndTouchesNothing)
{
    installOldDriver();
    const std::vector<std::string> before = registry.keys();
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"04E8"}, {"04E8", "1F06", "x"}})
        EXPECT_EQ(run(args), -1);
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(registry.keys(), before);
}

TEST_F(DriverCleanupTest, IdentifierThatWouldNameAnotherKeyIsRefusedBeforeAnyDeletion)
{
    installOldDriver();
    registry.addKey("SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_&Pid_1F06");
    const std::vector<std::string> before = registry.keys();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"04E8&Pid_1F06\\6&2F1C0A7&0&1", "x"},
          {"04E8", "1F06\\"},
          {"", "1F06"},
          {"04E8", ""}}) {
        console.str("");
        EXPECT_EQ(run(args), -1);
        EXPECT_EQ(console.str(), "Invalid ID");
    }
    EXPECT_EQ(registry.keys(), before);
    EXPECT_TRUE(registry.messageBoxes().empty());
}

TEST_F(DriverCleanupTest, FailedVersionQueryStopsBeforeAnyDeletion)
{
    installOldDriver();
    const std::vector<std::string> before = registry.keys();
    registry.setPlatformId(std::nullopt);
    EXPECT_EQ(run({"04E8", "1F06"}), -1);
    EXPECT_EQ(console.str(), "Invalid OS Version");
    EXPECT_EQ(registry.keys(), before);
}

TEST_F(DriverCleanupTest, NtFamilyRemovesEveryDriverKeyAndAnsweringNoEndsWithZero)
{
    installOldDriver();
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_EQ(console.str(), "");
    for (const std::string& key : {NtDevice, WinDriver, Wdpnp, Vendor})
        EXPECT_FALSE(registry.hasKey(key)) << key;
    ASSERT_EQ(registry.messageBoxes().size(), 1u);
    EXPECT_EQ(registry.messageBoxes()[0].text,
              "You should reboot to clear the previous USB driver.\n"
              "AND THEN TRY TO SET UP ONE MORE.\n\nWould you reboot this computer?");
    EXPECT_EQ(registry.messageBoxes()[0].caption, "REBOOT");
    EXPECT_EQ(registry.messageBoxes()[0].style, 0x1034u);
    EXPECT_TRUE(registry.enabledPrivileges().empty());
    EXPECT_TRUE(registry.restartRequests().empty());
}

TEST_F(DriverCleanupTest, AnsweringYesEnablesShutdownPrivilegeAndRestarts)
{
    installOldDriver();
    registry.setAnswer(win32::IdYes);
    EXPECT_EQ(run({"04E8", "1F06"}), 1);
    EXPECT_EQ(registry.enabledPrivileges(), std::vector<std::string>{"SeShutdownPrivilege"});
    ASSERT_EQ(registry.restartRequests().size(), 1u);
    EXPECT_EQ(registry.restartRequests()[0], std::make_pair(win32::EwxReboot, 0u));
}

TEST_F(DriverCleanupTest, OtherFamilyUsesItsDeviceKeyLeavesServicesAndNeverAsks)
{
    installOldDriver(OtherDevice);
    registry.addKey(NtDevice);
    registry.setPlatformId(1);
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_FALSE(registry.hasKey(OtherDevice));
    EXPECT_FALSE(registry.hasKey(Vendor));
    for (const std::string& key : {NtDevice, WinDriver, Wdpnp})
        EXPECT_TRUE(registry.hasKey(key)) << key;
    EXPECT_TRUE(registry.messageBoxes().empty());
}

TEST_F(DriverCleanupTest, MissingDeviceKeyStillRemovesTheRest)
{
    installOldDriver("SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_FFFF&Pid_0000");
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    for (const std::string& key : {WinDriver, Wdpnp, Vendor})
        EXPECT_FALSE(registry.hasKey(key)) << key;
    EXPECT_EQ(registry.messageBoxes().size(), 1u);
}

TEST_F(DriverCleanupTest, WithoutServiceKeysTheToolEndsWithoutAsking)
{
    registry.addKey(NtDevice + "\\Sub");
    registry.addKey(Vendor);
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_FALSE(registry.hasKey(NtDevice));
    EXPECT_FALSE(registry.hasKey(Vendor));
    EXPECT_TRUE(registry.messageBoxes().empty());
}

TEST_F(DriverCleanupTest, EitherServiceKeyAloneLeadsToTheQuestion)
{
    for (const std::string& service : {WinDriver, Wdpnp}) {
        MemoryRegistry machine;
        machine.addKey(service);
        EXPECT_EQ(runDriverCleanup(machine, {"04E8", "1F06"}, console), 0);
        EXPECT_EQ(machine.messageBoxes().size(), 1u) << service;
    }
}

TEST_F(DriverCleanupTest, ServiceKeyThatCannotBeDeletedIsIgnoredButStillAsks)
{
    installOldDriver();
    registry.failOpen(WinDriver, win32::ErrorAccessDenied);
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_TRUE(registry.hasKey(WinDriver));
    EXPECT_FALSE(registry.hasKey(Wdpnp));
    EXPECT_FALSE(registry.hasKey(Vendor));
    EXPECT_EQ(registry.messageBoxes().size(), 1u);
}

TEST_F(DriverCleanupTest, ProtectedDeviceKeyIsDeletedOnceAccessIsGranted)
{
    installOldDriver();
    AccessList systemOnly;
    systemOnly.entries = {
        AccessEntry::stored(AccessEntry::allow(0xF003F, {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}).bytes())};
    systemOnly.byteSize = 28;
    for (const std::string& key : {NtDevice, NtDevice + "\\6&2F1C0A7&0&1\\LogConf"}) {
        registry.setAccessList(key, systemOnly);
        registry.denyDeletionUntilGranted(key);
    }
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_FALSE(registry.hasKey(NtDevice));
    EXPECT_EQ(registry.accessListWrites(), 2);
}

TEST_F(DriverCleanupTest, DeletionFailingPartWayKeepsWhatWasDeletedAndStops)
{
    installOldDriver();
    registry.addKey(NtDevice + "\\A");
    registry.addKey(NtDevice + "\\B\\Inner");
    registry.addKey(NtDevice + "\\C");
    // A protected key without an access list to widen stays undeletable.
    registry.denyDeletionUntilGranted(NtDevice + "\\B");
    EXPECT_EQ(run({"04E8", "1F06"}), -1);
    EXPECT_EQ(console.str(), "Cannot delete the KEY");
    EXPECT_FALSE(registry.hasKey(NtDevice + "\\6&2F1C0A7&0&1"));
    EXPECT_FALSE(registry.hasKey(NtDevice + "\\A"));
    EXPECT_FALSE(registry.hasKey(NtDevice + "\\B\\Inner"));
    EXPECT_TRUE(registry.hasKey(NtDevice + "\\B"));
    EXPECT_TRUE(registry.hasKey(NtDevice + "\\C"));
    for (const std::string& key : {WinDriver, Wdpnp, Vendor})
        EXPECT_TRUE(registry.hasKey(key)) << key;
    EXPECT_TRUE(registry.messageBoxes().empty());
}

TEST_F(DriverCleanupTest, WithoutAnEveryoneAccountAProtectedDeviceKeyCannotBeDeleted)
{
    installOldDriver();
    registry.setAccessList(NtDevice, AccessList{8, {}});
    registry.denyDeletionUntilGranted(NtDevice);
    registry.removeAccount("Everyone");
    EXPECT_EQ(run({"04E8", "1F06"}), -1);
    EXPECT_EQ(console.str(), "Cannot delete the KEY");
    EXPECT_TRUE(registry.hasKey(NtDevice));
}

// 64-bit Windows: a 32-bit driver installer writes its software keys into the 32-bit view, which
// a 64-bit program reaches only with a view flag, and the other way round.
const std::string Vendor32 = "SOFTWARE\\Wow6432Node\\Jungo";

class TwoViewCleanupTest : public DriverCleanupTest, public ::testing::WithParamInterface<bool>
{
protected:
    TwoViewCleanupTest()
    {
        registry.useTwoViews(GetParam());
        registry.addKey("SOFTWARE\\Wow6432Node\\Jungle");
    }
};

TEST_P(TwoViewCleanupTest, VendorKeyIsRemovedFromBothViewsWhicheverBuildRuns)
{
    installOldDriver();
    registry.addKey(Vendor32 + "\\WinDriver\\6.0");
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_EQ(console.str(), "");
    for (const std::string& key : {NtDevice, WinDriver, Wdpnp, Vendor, Vendor32})
        EXPECT_FALSE(registry.hasKey(key)) << key;
    EXPECT_TRUE(registry.hasKey("SOFTWARE\\Wow6432Node\\Jungle"));
    // The services are shared by both views: seen twice, asked about once.
    EXPECT_EQ(registry.messageBoxes().size(), 1u);
}

TEST_P(TwoViewCleanupTest, KeyInOnlyOneViewIsRemovedAndTheOtherViewIsNoFailure)
{
    for (const std::string& vendor : {Vendor, Vendor32}) {
        MemoryRegistry machine;
        machine.useTwoViews(GetParam());
        machine.addKey(NtDevice);
        machine.addKey("SOFTWARE\\Wow6432Node\\Jungle");
        machine.addKey(vendor + "\\WinDriver");
        EXPECT_EQ(runDriverCleanup(machine, {"04E8", "1F06"}, console), 0) << vendor;
        EXPECT_FALSE(machine.hasKey(vendor)) << vendor;
        EXPECT_TRUE(machine.hasKey("SOFTWARE\\Wow6432Node\\Jungle")) << vendor;
        EXPECT_EQ(machine.openHandles(), 0u);
    }
    EXPECT_EQ(console.str(), "");
}

TEST_P(TwoViewCleanupTest, ProtectedKeyInTheOtherViewIsOpenedUpInThatView)
{
    registry.addKey(Vendor32 + "\\WinDriver");
    registry.setAccessList(Vendor32, AccessList{8, {}});
    registry.denyDeletionUntilGranted(Vendor32);
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_FALSE(registry.hasKey(Vendor32));
    EXPECT_EQ(registry.accessListWrites(), 1);
}

INSTANTIATE_TEST_SUITE_P(Builds, TwoViewCleanupTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Program32Bit" : "Program64Bit";
                         });

TEST_F(DriverCleanupTest, WithOneViewAKeyNamedWow6432NodeIsJustAKey)
{
    // 32-bit Windows has no second view: such a key belongs to someone else and stays.
    installOldDriver();
    registry.addKey(Vendor32);
    EXPECT_EQ(run({"04E8", "1F06"}), 0);
    EXPECT_FALSE(registry.hasKey(Vendor));
    EXPECT_TRUE(registry.hasKey(Vendor32));
}

} // namespace
