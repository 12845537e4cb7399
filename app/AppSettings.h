// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The values ZVD keeps between runs, read from and written to the settings store as strings.
// A value that cannot be read is skipped and the one before it stays.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <optional>

class QSettings;

struct AppSettings {
    QFont titleFont;               // LCD title font
    int displayName = 1;           // "LCD": 1 = file name, else flags 2 title, 4 artist, 8 genre
    int sizeUnit = 0;              // "MEMSIZE": written, never read back
    int hsplit = 0;                // twips; 0 or below: not stored, keep the design position
    int vsplit = 0;                // twips, as stored (the caller limits it)
    QString language;              // full path; the shipped English file when not stored
    QString path;                  // folder of the folder tree; empty: not stored
    std::optional<QRect> geometry; // twips: Left, Top, Width, Height when all four are stored
    int displayStyle = 3;          // "Style": style of the PC list, 0 large icons to 3 details
    QString conversionQuality = QStringLiteral("V2"); // "Quality": MP3 quality of converted files

    // The font of a first run: Arial 16 points, not bold.
    static QFont defaultTitleFont();

    void load(QSettings& store);
    // Writes the keys in the order earlier versions wrote them; "PATH" is written separately.
    void save(QSettings& store) const;
    void savePath(QSettings& store) const;
};

// The language file used when none is stored: Language/english.lng beside the program.
QString DefaultLanguageFile(const QString& programFolder);
