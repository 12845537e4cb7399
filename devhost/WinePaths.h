// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Paths from a client that lives outside Wine (a Linux zvdctl driving the Windows host) are Unix
// paths; a Windows library cannot open them. Under Wine the host turns them into Windows paths with
// Wine's own conversion; everywhere else a path passes unchanged.
#pragma once

#include <string>

namespace devhost
{

// The path the library can open: a Unix path (starting with '/') converted under Wine, in the
// ANSI code page; anything else as it is.
std::string toLibraryPath(const std::string& path);

} // namespace devhost
