// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Keeps every test away from the user's settings, player and code page.
#pragma once

#include <QString>

namespace TestEnvironment
{

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and ZVD_PLAYER_DIR at a private temporary folder and
// fixes the code page, before any test runs.
void isolate();

// The private folder that isolate() made.
QString root();

// The build's bin folder (executables, virtual player library, Language/).
QString binDir();

// The source tree.
QString sourceDir();

} // namespace TestEnvironment
