// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The usbclean program: removes the registry keys an earlier installation of the player's USB
// driver left behind and offers to restart Windows when driver services were among them.
#pragma once

#include "usbclean/RegistryPlatform.h"

#include <ostream>
#include <string>
#include <vector>

namespace usbclean
{

enum ExitStatus : int {
    ExitFailed = -1,
    ExitDone = 0,
    ExitRestarting = 1,
};

// Runs the cleanup for the command-line arguments (program name excluded): the vendor and the
// product identifier. Messages go to `console`, without line breaks.
int runDriverCleanup(RegistryPlatform& platform, const std::vector<std::string>& args, std::ostream& console);

// The device's enumeration key for the platform family, identifiers inserted verbatim.
std::string deviceKeyPath(bool ntFamily, const std::string& vendorId, const std::string& productId);

// False for an identifier that would make the device key name another key: empty, or holding
// the registry's path separator.
bool isUsableIdentifier(const std::string& id);

} // namespace usbclean
