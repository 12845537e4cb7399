// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Looking texts up in a language file: items separated by commas and line ends, "[Section]"
// headers and "Key = Value" entries, in the ANSI code page.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace mControlUI {

// The value of the first entry `key` after the header of `section` (both without regard to
// case), or an empty string when either is missing. Opens, reads and closes the file on every
// call; std::nullopt when the file cannot be opened (the caller keeps its old text then).
std::optional<QString> ReadLangKey(const QString& filePath, const QString& section, const QString& key);

// The same lookup over a file's bytes (the reader's whole logic; bounded by the data).
QString ReadLangKeyFromBytes(QByteArrayView fileBytes, const QString& section, const QString& key);

// True when the file can be opened for reading.
bool CanOpenLanguageFile(const QString& filePath);

// <program folder>/Language/english.lng.
QString DefaultLanguageFile();

// The fixed text shown when a language file cannot be opened, and that box's fixed title.
QString MissingLanguageFileText(const QString& filePath);
QString FixedWindowTitle();

} // namespace mControlUI
