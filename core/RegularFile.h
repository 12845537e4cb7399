// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Opening files by names that a user or a settings file gives. Such a name may lead to a named
// pipe or a device, whose plain open() waits for a writer for ever; these opens never wait, and
// turn away whatever is not a regular file with a message that says so.
#pragma once

#include <QFile>
#include <QString>

namespace RegularFile
{

// Opens the path for reading (ReadOnly in mode) or for reading and writing an existing file
// (ReadWrite). Returns the descriptor, or -1 with the reason in *error ("No such file or
// directory", "is a named pipe, not a regular file", ...). Off Unix always -1.
int openDescriptor(const QString& path, QIODevice::OpenMode mode, QString* error = nullptr);

// Opens the path into file as openDescriptor() does. The file closes its descriptor itself;
// QFile::fileName() of a file opened so is empty, so messages name the path they were given.
bool open(QFile& file, const QString& path, QIODevice::OpenMode mode, QString* error = nullptr);

// Reads a whole regular file of at most maxBytes. False with the reason in *error when it cannot
// be opened, is not a regular file, or is larger.
bool readAll(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* error = nullptr);

// Why the path cannot be handed on as a regular file (to the device library, which opens it
// itself), or an empty string when it is one; then *size, when given, gets its size. Asks the
// file system without opening anything.
QString problem(const QString& path, qint64* size = nullptr);

} // namespace RegularFile
