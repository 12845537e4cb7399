// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The message slots: the texts of the Main and Msgbox sections (and UI/Title) that operations
// show later, looked up once from a language file.
#pragma once

#include <QString>

#include <optional>

struct MessageTexts {
    // UI
    QString title; // title of every message box
    // Main
    QString singleFile; // "Single File"
    QString multiFile;  // "Multi File"
    QString byteWord;   // "byte"
    QString memory;     // "Memory"
    QString connect;    // "Connect"
    QString disconnect; // "DisConnect"
    // Msgbox
    QString notEnough;  // "NOTENOUGH"
    QString sameFile1;  // "SameFile1"
    QString sameFile2;  // "SameFile2"
    QString firmUp;     // "FirmUp"
    QString deleteText; // "Delete"
    QString delFormat;  // "Del_Format"
    QString format;     // "Format"
    QString formatLow;  // "Format_Low"
    // Msgbox keys newer than the first language files; an empty or missing one falls back to
    // the built-in English text, because a failure must never be reported with an empty box.
    QString delFail;  // "DelFail": a file could not be deleted (its name follows on a new line)
    QString firmFail; // "FirmFail": the firmware upgrade failed
    QString sendFail; // "SendFail": a file could not be sent (its name follows on a new line)
    QString recvFail; // "RecvFail": a file could not be received (its name follows on a new line)
    QString firmAsk;  // "FirmAsk": the confirmation before a firmware upgrade
    // Parts of failure messages: counts and the reasons a transfer, a replace or a read failed.
    QString notSent;         // "NotSent": %1 of %2 files were not sent
    QString notReceived;     // "NotReceived": ... not received
    QString replaceUnread;   // "ReplaceUnread": replace: the entries could not be read
    QString replaceChanged;  // "ReplaceChanged": replace: the entries changed meanwhile
    QString replaceRefused;  // "ReplaceRefused": replace: the old copy could not be set aside or deleted
    QString oldCopyStays;    // "OldCopyStays": old copy %1 stays after the new arrived
    QString oldCopyGone;     // "OldCopyGone": the old copy (%1) was deleted before a store that failed
    QString oldCopyAside;    // "OldCopyAside": old copy %1 keeps its set-aside name
    QString detached;        // "Detached": the player went away during a transfer
    QString nameInOtherView; // "NameInOtherView": the name is taken in another view
    QString nameTaken;       // "NameTaken": another program took the name meanwhile
    QString notPlainName;    // "NotPlainName": a received name is not a plain file name
    QString sizeUnknown;     // "SizeUnknown": a received entry's size is out of range
    QString shortRead;       // "ShortRead": a receive delivered %1 of %2 bytes
    QString memoryUnread;    // "MemoryUnread": the medium information could not be read
    QString entriesUnread;   // "EntriesUnread": the entries could not be read
    QString notTried;        // "NotTried": heads the deletions not tried after a failed one
    QString asideNotDeleted; // "AsideNotDeleted": a leftover old copy %1 (now %2) could not be deleted
    QString asideNotRenamed; // "AsideNotRenamed": a leftover %2 could not get its name %1 back
    // Why a file to be converted to MP3 on the way was not sent, and the heading of their list.
    QString convNotAFile;    // "ConvNotAFile": missing, a pipe, a device or a folder
    QString convSameFile;    // "ConvSameFile": the MP3 would replace its source
    QString convUnreadable;  // "ConvUnreadable": not music of a known format, protected or damaged
    QString convEncoder;     // "ConvEncoder": the MP3 encoder refused the audio
    QString convWrite;       // "ConvWrite": the MP3 could not be written
    QString convUnavailable; // "ConvUnavailable": a build without the converter
    QString convNoRoom;      // "ConvNoRoom": the MP3 (%1, its size) does not fit on the player
    QString notConverted;    // "NotConverted": heads the list of files not sent for these reasons

    // Every slot from the file; std::nullopt when the file cannot be opened.
    static std::optional<MessageTexts> load(const QString& languageFile);
    // Slots as before any language is applied: empty, except the built-in fallbacks.
    static MessageTexts builtIn();
    // Fills empty fallback slots with their built-in English texts.
    void applyFallbacks();
};
