// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Looking texts up in a language file: items separated by commas and line ends, "[Section]"
// headers and "Key = Value" entries, in the ANSI code page.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace mControlUI
{

// The value of the first entry `key` after the header of `section` (both without regard to
// case), or an empty string when either is missing. Opens, reads and closes the file on every
// call; std::nullopt when the file cannot be opened (the caller keeps its old text then).
std::optional<QString> ReadLangKey(const QString& filePath, const QString& section, const QString& key);

// The same lookup over a file's bytes (the reader's whole logic; bounded by the data).
QString ReadLangKeyFromBytes(QByteArrayView fileBytes, const QString& section, const QString& key);

// As ReadLangKeyFromBytes, but std::nullopt when the section or the key is missing, so a caller
// can tell a missing text from one left empty on purpose.
std::optional<QString> FindLangKeyInBytes(QByteArrayView fileBytes, const QString& section,
                                          const QString& key);

// A text for the interface: the file's value, or when the file lacks the key, the shipped English
// file's, so that a language file older than the program never blanks a text; empty when neither
// has it. std::nullopt when the file cannot be read.
std::optional<QString> ReadLangText(const QString& filePath, const QString& section, const QString& key);

// A language file's bytes: a regular file of at most MaxLanguageFileBytes, opened without ever
// waiting. std::nullopt with the reason in *error otherwise.
std::optional<QByteArray> ReadLanguageFile(const QString& filePath, QString* error = nullptr);

// Language files are a few kilobytes; a bigger file is refused rather than read at every lookup.
constexpr qint64 MaxLanguageFileBytes = 1024 * 1024;

// True when the file can be read as a language file (see ReadLanguageFile).
bool CanOpenLanguageFile(const QString& filePath);

// <program folder>/Language/english.lng.
QString DefaultLanguageFile();

// The fixed text shown when a language file cannot be opened, and that box's fixed title. For a
// file that exists but is refused (a pipe, too large) a line saying why follows.
QString MissingLanguageFileText(const QString& filePath);
QString FixedWindowTitle();

} // namespace mControlUI
