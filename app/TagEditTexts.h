// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Texts of tag editing in the PC list: its menu entries, the dialog and its notices, from the
// language file's [TagEdit] section; a key the file lacks keeps its English text.
#pragma once

#include <QString>

struct TagEditTexts {
    QString editMenu = QStringLiteral("&Edit");
    QString editTags = QStringLiteral("Edit &Tags...");
    QString undoEdit = QStringLiteral("&Undo Tag Edit");
    QString caption = QStringLiteral("Edit Tags");
    QString title = QStringLiteral("&Title");
    QString artist = QStringLiteral("&Artist");
    QString album = QStringLiteral("Al&bum");
    QString genre = QStringLiteral("&Genre");
    QString year = QStringLiteral("&Year");
    QString track = QStringLiteral("T&rack");
    QString keep = QStringLiteral("<keep>");
    QString severalFiles = QStringLiteral("%1 files: a field left unchanged keeps each file's own value.");
    QString mp3Only = QStringLiteral("Tags can be edited in MP3 files only. Select one or more MP3 files.");
    QString notChanged = QStringLiteral("These files were left unchanged:");
    QString notUndone = QStringLiteral("These files could not be put back as they were:");

    static TagEditTexts load(const QString& languageFile);
};
