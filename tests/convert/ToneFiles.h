// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Music files of every converted format, made from one generated tone by the formats' own
// encoders (flac, oggenc, opusenc, ffmpeg), tagged, most with a front cover.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ToneFiles
{

inline constexpr double Seconds = 4.0;
inline const char* const Title = "Tone Title";
inline const char* const Artist = "Tone Artist";
inline const char* const Album = "Tone Album";
inline const char* const Genre = "Jazz"; // ID3 genre 8
inline constexpr int Year = 1999;
inline constexpr int Track = 7;

struct Made {
    QString path;
    bool hasCover = false;
};

// Empty when a tool is missing (the reason is in *missing).
QString missingTool();

// Makes "tone.<ext>" in folder for ext in flac, ogg, opus, m4a, wav; rate and channels of the tone.
Made make(const QString& folder, const QString& extension, int rate = 44100, int channels = 2);

// The cover the files carry (a small PNG made by ffmpeg); made on first use in folder.
QByteArray cover(const QString& folder);

// Runs a program; its exit status (-1 when it could not start).
int run(const QString& program, const QStringList& args);

} // namespace ToneFiles
