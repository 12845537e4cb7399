// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window's values that the options dialog reads and gives back.
#pragma once

#include <QFont>
#include <QString>

#include <functional>

struct OptionsValues {
    QFont titleFont;     // LCD title font: face, point size (rendered at 96 dpi), bold
    int displayName = 1; // display-name selector: 1 = file name, else 2 title + 4 artist + 8 genre
    int sizeUnit = 0;    // 0 bytes, 1 KB, 2 MB; the dialog gives it back as 0..2
    QString language;    // the Language setting: full path of the language file, may be empty
    QString conversionQuality = QStringLiteral("V2"); // MP3 quality of files converted on send
};

// Puts a newly chosen language file on the main window (ApplyLanguage) and remembers its path as
// the Language setting. Called by OK only when the chosen file differs from the stored one.
using LanguageApplier = std::function<void(const QString& languageFile)>;
