// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Where the program lies and where its short-lived files go.
#pragma once

#include <QString>

namespace AppPaths {

// The folder of the running executable; Language/ and the device library sit beside it.
QString programFolder();

// The program's folder when it is writable, else the user's writable application-data folder.
QString tempFolder();

// Creates a new, empty file for the program's own use, named preferredName when no file of
// that name exists in tempFolder() and "<base>-<n>.<ext>" otherwise, so a user's file of the
// same name is never touched. Returns the full path, or an empty string on failure.
QString createTempFile(const QString& preferredName);

} // namespace AppPaths
