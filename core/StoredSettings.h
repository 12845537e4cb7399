// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The per-user settings of ZVD, shared by the window and zvdctl so that both read the same store
// with the same rules. On Windows the store is the registry key that classic SaveSetting used, so
// settings of earlier installations are kept; elsewhere $XDG_CONFIG_HOME/ZVD/ZVD.ini. Every value
// is stored as text; a value that is missing or cannot be read is skipped and the default (or the
// value before it) stays.
#pragma once

#include <QRect>
#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

namespace StoredSettings
{

// The registry key of ZVD on Windows, where classic SaveSetting kept the settings of "ZVD".
QString registryRoot();

// The registry key that holds <section>\<key> on Windows (below HKEY_CURRENT_USER).
QString registryPath(const QString& section, const QString& key);

// The INI file used elsewhere, below the given config folder ($XDG_CONFIG_HOME).
QString iniPath(const QString& configHome);

// The store of this user on this system.
std::unique_ptr<QSettings> open();

// The LCD title font: face, size in points, bold.
struct LcdFont {
    QString face = QStringLiteral("Arial");
    double points = 16.0;
    bool bold = false;
};

// The rules a stored value must meet to replace the one before it.
bool isValidFontSize(double points);      // 0 < points < 10000
bool isValidDisplayName(double selector); // |selector| < 32768, rounded
bool isValidSplitter(double twips);       // 0 < twips < 10^7; 0 or below means "not stored"
bool isValidGeometry(double left, double top, double width, double height);
bool isValidDisplayStyle(double style); // 0 large icons, 1 small icons, 2 list, 3 details

struct Values {
    LcdFont font;
    int displayName = 1;             // "LCD": 1 = file name, else flags 2 title, 4 artist, 8 genre
    int sizeUnit = 0;                // "MEMSIZE": written, never read back
    int hsplit = 0;                  // twips; 0: not stored, keep the design position
    int vsplit = 0;                  // twips, as stored (the window limits it)
    std::optional<QString> language; // full path as stored; empty text means the built-in texts
    QString path;                    // folder of the folder tree; empty: not stored
    std::optional<QRect> geometry;   // twips: Left, Top, Width, Height when all four are stored
    int displayStyle = 3;            // "Style": the PC list's display style, details by default
    QString conversionQuality = QStringLiteral("V2"); // "Quality": MP3 quality of converted files

    // Reads every value over the current ones; unreadable values leave the current one.
    void load(QSettings& store);
    // Writes the keys in the order earlier versions wrote them; "PATH" is written separately.
    void save(QSettings& store) const;
    void savePath(QSettings& store) const;
};

// The language file to load: the stored one, else Language/english.lng in programFolder.
QString languageFileOr(const Values& values, const QString& programFolder);

// Language/english.lng in programFolder, with native separators.
QString defaultLanguageFile(const QString& programFolder);

} // namespace StoredSettings
