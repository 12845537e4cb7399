// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The per-user settings store of ZVD: on Windows the registry key that classic SaveSetting used,
// so settings of earlier installations are kept; elsewhere an INI file in the config folder.
#pragma once

#include <QSettings>

#include <memory>

namespace SettingsStore
{

std::unique_ptr<QSettings> open();

} // namespace SettingsStore
