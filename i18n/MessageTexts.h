// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The message slots: the texts of the Main and Msgbox sections (and UI/Title) that operations
// show later, looked up once from a language file.
#pragma once

#include <QString>

#include <optional>

struct MessageTexts {
    // UI
    QString title;       // title of every message box
    // Main
    QString singleFile;  // "Single File"
    QString multiFile;   // "Multi File"
    QString byteWord;    // "byte"
    QString memory;      // "Memory"
    QString connect;     // "Connect"
    QString disconnect;  // "DisConnect"
    // Msgbox
    QString notEnough;   // "NOTENOUGH"
    QString sameFile1;   // "SameFile1"
    QString sameFile2;   // "SameFile2"
    QString firmUp;      // "FirmUp"
    QString deleteText;  // "Delete"
    QString delFormat;   // "Del_Format"
    QString format;      // "Format"
    QString formatLow;   // "Format_Low"
    // Msgbox keys newer than the first language files; an empty or missing one falls back to
    // the built-in English text, because a failure must never be reported with an empty box.
    QString delFail;     // "DelFail": a file could not be deleted (its name follows on a new line)
    QString firmFail;    // "FirmFail": the firmware upgrade failed
    QString sendFail;    // "SendFail": a file could not be sent (its name follows on a new line)
    QString recvFail;    // "RecvFail": a file could not be received (its name follows on a new line)
    QString firmAsk;     // "FirmAsk": zvdctl's confirmation before an upgrade (the GUI's file dialog is its confirmation)

    // Every slot from the file; std::nullopt when the file cannot be opened.
    static std::optional<MessageTexts> load(const QString& languageFile);
    // Slots as before any language is applied: empty, except the built-in fallbacks.
    static MessageTexts builtIn();
    // Fills empty fallback slots with their built-in English texts.
    void applyFallbacks();
};
