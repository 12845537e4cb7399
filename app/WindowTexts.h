// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Texts of the window that are newer than the first language files: the Player and Help menus,
// the progress window, batch summaries, the view note of the PC list, the replace question's
// buttons. Each comes from the language file's [Window] section (the locale from [UI]); a key
// the file lacks keeps its English text, so no button or message is ever left blank.
#pragma once

#include <QString>

struct WindowTexts {
    // Menus
    QString playerMenu = QStringLiteral("&Player");
    QString send = QStringLiteral("&Send to Player");
    QString fetch = QStringLiteral("&Fetch from Player");
    QString rename = QStringLiteral("&Rename");
    QString deleteFiles = QStringLiteral("&Delete");
    QString format = QStringLiteral("F&ormat Player");
    QString refresh = QStringLiteral("Re&fresh");
    QString helpMenu = QStringLiteral("&Help");
    QString about = QStringLiteral("&About ZVD");
    QString aboutVersion = QStringLiteral("Version");
    QString aboutLicence = QStringLiteral("Licence");
    QString aboutLibrary = QStringLiteral("Device library");
    QString noLibrary = QStringLiteral("none loaded");
    // The PC list's note on what the view lists. The music view lists the formats converted to MP3
    // on send in every build; a build made without the converter lists them but cannot send them.
    QString viewMusicConverted =
        QStringLiteral("MP3 and WMA files; FLAC, M4A, AAC, Ogg, Opus and WAV are sent as MP3");
    QString viewMusicUnconverted =
        QStringLiteral("MP3 and WMA files; FLAC, M4A, AAC, Ogg, Opus and WAV cannot be sent by this build");
    QString viewRecord = QStringLiteral("voice recordings");
    QString viewOther = QStringLiteral("all files");
    // Progress window and batch summaries
    QString progressFiles = QStringLiteral("%1 of %2 files");
    QString progressBytes = QStringLiteral("%1 of %2 bytes");
    QString progressNote =
        QStringLiteral("Cancel stops before the next file; the file in progress still finishes.");
    QString cancelling = QStringLiteral("Cancelling: waiting for the current file to finish.");
    QString cancel = QStringLiteral("Cancel");
    QString sentSummary = QStringLiteral("%1 of %2 files sent");
    QString receivedSummary = QStringLiteral("%1 of %2 files received");
    QString cancelled = QStringLiteral("cancelled");
    QString failed = QStringLiteral("failed");
    // Questions and notices
    QString yesToAll = QStringLiteral("Yes to &All");
    QString noToAll = QStringLiteral("N&o to All");
    QString renameBad = QStringLiteral("The player cannot store this name. A name must not be empty and must "
                                       "not hold any of these characters:");
    QString notInView = QStringLiteral("These files are not listed in this view and were not sent:");
    QString unreadList = QStringLiteral(
        "The player's entries could not be read, so nothing was done. Press F5 to read them again.");
    QString closeFailed = QStringLiteral("The connection to the player could not be closed.");
    QString startFailed = QStringLiteral("The device library could not be started.");
    QString endFailed = QStringLiteral("The device library could not be shut down.");
    // Tool tips: the capacity bar, the LCD preview, the tabs (music, recordings, other files)
    QString capacityTip = QStringLiteral("Memory in use");
    QString lcdPreviewTip = QStringLiteral("LCD title: the text the player shows while this file plays");
    // (the English tab tips are the fixed texts the window always had)
    QString musicTabTip = QStringLiteral("View Audio Files (MP3, WMA)");
    QString recordTabTip = QStringLiteral("View Record Files (ZVD)");
    QString otherTabTip = QStringLiteral("View Files");
    // The options dialog's caption
    QString optionsCaption = QStringLiteral("Options");
    // Locale of the language (for Qt's own buttons and dialogs), e.g. "de"; empty: English.
    QString locale;

    // Texts of the file; the English text for every key the file lacks or leaves empty.
    static WindowTexts load(const QString& languageFile);
};
