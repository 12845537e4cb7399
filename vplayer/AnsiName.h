// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Names on the player are bytes of the PC's ANSI code page. On Windows the file system speaks
// that code page too; elsewhere file names are UTF-8 while the program still exchanges names in
// its ANSI code page (ZVD_CODEPAGE, else one chosen from the locale), so a name taken from a
// path has to be converted before it is stored, and back before it is shown on a terminal.
#pragma once

#include <optional>
#include <string>

namespace AnsiName
{

// The program's ANSI code page off Windows, e.g. "CP1252".
std::string codePage();

// A file name from a path, as the player stores it. nullopt when a character has no form in
// the code page. Names that are not UTF-8 are kept as they are.
std::optional<std::string> fromFileSystem(const std::string& name);

// A stored name for a terminal or a path; bytes that do not convert are kept as they are.
std::string toFileSystem(const std::string& name);

} // namespace AnsiName
