// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Maintenance of the whole player: low-level format and firmware upgrade.
#pragma once

#include "device/PlayerFileOperations.h"

namespace PlayerMaintenance
{

using PlayerFileOperations::Outcome;

// Asks with "Format_Low", then formats the medium at low level and rebuilds the list.
Outcome LowLevelFormat(PlayerSession& session, Prompt& prompt);

// Converts the firmware file into a temporary image, writes it to the player and deletes the
// image. Done: the "FirmUp" notice was shown and the caller ends the program. Failed: the
// "FirmFail" message was shown and the program goes on. The caller has chosen the file (and,
// in zvdctl, confirmed it).
Outcome UpgradeFirmware(PlayerSession& session, Prompt& prompt, const QString& firmwarePath);

} // namespace PlayerMaintenance
