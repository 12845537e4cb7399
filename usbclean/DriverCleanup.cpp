// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/DriverCleanup.h"

#include "usbclean/KeyCleaner.h"
#include "usbclean/Win32Values.h"

namespace usbclean
{

namespace
{

constexpr const char* NtDeviceKeyPrefix = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_";
constexpr const char* OtherDeviceKeyPrefix = "Enum\\USB\\Vid_";
constexpr const char* ServiceKeys[] = {"System\\CurrentControlSet\\Services\\WinDriver",
                                       "System\\CurrentControlSet\\Services\\wdpnp"};
constexpr const char* VendorKey = "Software\\Jungo";

constexpr const char* RestartQuestion = "You should reboot to clear the previous USB driver.\n"
                                        "AND THEN TRY TO SET UP ONE MORE.\n\n"
                                        "Would you reboot this computer?";
constexpr const char* RestartCaption = "REBOOT";
constexpr std::uint32_t RestartStyle = win32::MbYesNo | win32::MbIconWarning | win32::MbSystemModal;
constexpr const char* ShutdownPrivilege = "SeShutdownPrivilege";

// The views the driver's software and service keys may sit in. On 64-bit Windows a 32-bit driver
// installer writes into the 32-bit view and a 64-bit one into the 64-bit view; whichever build of
// this tool runs, both are cleaned. Elsewhere there is one view.
std::vector<std::uint32_t> registryViews(RegistryPlatform& platform)
{
    if (platform.hasTwoRegistryViews())
        return {win32::KeyWow64_64Key, win32::KeyWow64_32Key};
    return {0};
}

// Removes the driver services and the toolkit vendor's key in every view; true when a service was
// there in any of them. A key missing from one view is deleted already, not a failure.
bool removeDriverServices(RegistryPlatform& platform, bool ntFamily)
{
    bool hadService = false;
    for (const std::uint32_t view : registryViews(platform)) {
        KeyCleaner cleaner(platform, ntFamily, view);
        if (ntFamily) {
            for (const char* service : ServiceKeys) {
                hadService = cleaner.exists(LocalMachine, service) || hadService;
                cleaner.deleteTree(LocalMachine, service);
            }
        }
        cleaner.deleteTree(LocalMachine, VendorKey);
    }
    return hadService;
}

int offerRestart(RegistryPlatform& platform, bool ntFamily)
{
    if (platform.messageBox(RestartQuestion, RestartCaption, RestartStyle) != win32::IdYes)
        return ExitDone;
    if (ntFamily)
        platform.enablePrivilege(ShutdownPrivilege);
    platform.exitWindows(win32::EwxReboot, 0);
    return ExitRestarting;
}

} // namespace

std::string deviceKeyPath(bool ntFamily, const std::string& vendorId, const std::string& productId)
{
    return (ntFamily ? NtDeviceKeyPrefix : OtherDeviceKeyPrefix) + vendorId + "&Pid_" + productId;
}

bool isUsableIdentifier(const std::string& id)
{
    return !id.empty() && id.find('\\') == std::string::npos;
}

int runDriverCleanup(RegistryPlatform& platform, const std::vector<std::string>& args, std::ostream& console)
{
    if (args.size() != 2)
        return ExitFailed;
    // Checked before anything is touched: a separator inside an identifier makes the path name
    // some other key (a parent or a stranger's key), which the recursive delete would wipe.
    if (!isUsableIdentifier(args[0]) || !isUsableIdentifier(args[1])) {
        console << "Invalid ID";
        return ExitFailed;
    }
    const std::optional<std::uint32_t> platformId = platform.platformId();
    if (!platformId) {
        console << "Invalid OS Version";
        return ExitFailed;
    }
    const bool ntFamily = *platformId == win32::PlatformWin32Nt;
    // The device's enumeration key lies in the part of the registry both views share: once is enough.
    KeyCleaner cleaner(platform, ntFamily);
    if (!cleaner.deleteTree(LocalMachine, deviceKeyPath(ntFamily, args[0], args[1]))) {
        console << "Cannot delete the KEY";
        return ExitFailed;
    }
    if (!removeDriverServices(platform, ntFamily))
        return ExitDone;
    return offerRestart(platform, ntFamily);
}

} // namespace usbclean
