// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Local file names between the file system and the program's text. Off Windows a name is bytes,
// mostly UTF-8; collections copied from old Windows disks hold names whose bytes are the ANSI code
// page's, which Qt reads as UTF-8 and loses. Such a name is read through the code page (the player
// gets the same bytes back), and encode() maps that text back to the bytes on disk, so every open
// of ours reaches the file the list showed.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace LocalPath
{

// The text of one name: its UTF-8 reading when the bytes are UTF-8, else its code page reading
// when every byte has one that converts back to the same bytes; nullopt when neither reads it.
std::optional<QString> decodeName(QByteArrayView raw);

// The text of an entry's name in a folder (folderNative: the folder as encode() gives it), or
// nullopt with the reason in *why: neither reading takes the bytes, or the code page reading is
// the name of another entry of the folder, which encode() would reach instead.
std::optional<QString> decodeEntryName(const QByteArray& folderNative, QByteArrayView raw, QString* why);

// A command-line argument as text, read as decodeName reads a name; bytes that neither reading
// takes fall back to Qt's own reading.
QString decodeArgument(const char* argument);

// The bytes the operating system gets for a path: its UTF-8 form, except where a component that
// does not exist in UTF-8 exists under its code page bytes. On Windows the native 8-bit form.
QByteArray encode(const QString& path);

// Whether a path names an existing entry, or an existing folder (symbolic links followed).
bool exists(const QString& path);
bool isFolder(const QString& path);

// The raw bytes of a name for a message: printable ASCII as it stands, other bytes as \xNN.
QString escaped(QByteArrayView raw);

// Why a name cannot be stored on the player, or an empty string when it can: the player keeps
// names in the ANSI code page, so every character must have a form there.
QString playerNameProblem(const QString& name);

} // namespace LocalPath
