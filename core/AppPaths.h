// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Where the program lies and where its short-lived files go. Every short-lived file or folder
// of ours carries its owner's process id in its name, so that a later start can tell the debris
// of a killed process from the files of one still running, and never touch anybody else's file.
#pragma once

#include <QString>

namespace AppPaths
{

// The folder of the running executable; Language/ and the device library sit beside it.
QString programFolder();

// The program's folder when it is writable, else the user's writable application-data folder.
QString tempFolder();

// ".zvd-<pid>-": the start of the name of every short-lived file or folder of this process.
QString tempPrefix();

// The owner's process id of a name that follows our pattern (".zvd-<pid>-<anything>"), else -1.
qint64 tempOwner(const QString& fileName);

// Whether a process of that id runs now (on this machine).
bool isProcessAlive(qint64 pid);

// Creates a new, empty file for the program's own use in tempFolder(), named tempPrefix() +
// preferredName, or tempPrefix() + "<base>-<n>.<ext>" when that is taken, so a user's file is
// never touched. Returns the full path, or an empty string on failure.
QString createTempFile(const QString& preferredName);

// Creates a new, empty folder of ours in tempFolder(); returns its path, or empty on failure.
QString createTempFolder();

// Removes the files and folders in folder whose names follow our pattern and whose owner no
// longer runs (left by a process that was killed). Returns how many were removed.
int removeStaleTempFiles(const QString& folder);

// The same for the program's folder and the private temporary folder: run once at each start.
void removeStaleTempFiles();

} // namespace AppPaths
