// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device link in one include. How the pieces fit:
//   mTCC730 (mTCC730.h)       the library binding: load(path), then Open/Refresh/Delete/Download/
//                             Upload/... with QString names and paths; inert when not loaded.
//   PlayerSession             what the main window keeps: handle(), isConnected(), owner(),
//                             tick() for the 1000 ms poll, freeBytes()/totalBytes() (64-bit),
//                             connectionText()/capacityText() for the status panels,
//                             setView()/RefreshPlayerList() and list().
//   PlayerList / PlayerListRow the rows of the shown view in player order: name (display name),
//                             size (listed bytes) and sizeText, index (entry index = tag), shortName.
//   PlayerFileOperations      DeleteSelectedPlayerFiles, RenamePlayerFile, MovePlayerFile, FormatPlayer.
//   PlayerMaintenance         LowLevelFormat, UpgradeFirmware.
// A sender deletes a same-named entry with session.library().Delete(session.owner(),
// session.handle(), 0, index, name), stores with ...Download(owner, handle, 0, path) and
// fetches with ...Upload(owner, handle, 0, index, path, name, byteCount); then RefreshPlayerList().
#pragma once

#include "device/MediumCapacity.h"
#include "device/PlayerFileOperations.h"
#include "device/PlayerMaintenance.h"
#include "device/PlayerSession.h"
#include "device/mTCC730.h"
