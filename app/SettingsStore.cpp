// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SettingsStore.h"

#include "core/StoredSettings.h"

namespace SettingsStore
{

std::unique_ptr<QSettings> open()
{
    return StoredSettings::open();
}

} // namespace SettingsStore
