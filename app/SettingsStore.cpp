// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "SettingsStore.h"

namespace SettingsStore
{

std::unique_ptr<QSettings> open()
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZVD"),
        QSettings::NativeFormat);
#else
    // $XDG_CONFIG_HOME/ZVD/ZVD.ini
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZVD"),
                                       QStringLiteral("ZVD"));
#endif
}

} // namespace SettingsStore
