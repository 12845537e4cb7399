// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The display-name selector as the options dialog shows it: "File Name" or "ID3 Tag" with three
// ticks, and back. 1 = file name; any other value is a sum of 2 (title), 4 (artist), 8 (genre).
#pragma once

#include <QString>
#include <QStringList>

struct DisplayNameChoice {
    bool fileName = true;
    bool title = false;
    bool artist = false;
    bool genre = false;

    static DisplayNameChoice fromSelector(int selector);
    int selector() const;

    // What the LCD title is made of, in the captions given: the file-name caption, or the ticked
    // field captions in the order title, artist, genre joined by " - ".
    QString preview(const QString& fileNameCaption, const QStringList& fieldCaptions) const;
};

// A button caption as the user reads it: "&&" becomes "&", a lone "&" (access key) disappears.
QString CaptionText(const QString& caption);
