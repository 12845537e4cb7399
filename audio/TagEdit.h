// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Editing the six tag fields a user sees (title, artist, album, genre, year, track) of one MP3
// file, and taking an edit back. Both tags are written through cMP3ID3v2 and cMP3ID3v1 on a copy
// beside the file that replaces it in one rename, once its audio is proven unchanged: a failure,
// a full disk or a kill leaves the file as it was.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The fields as the editor shows them: the version 2 tag's when it has any of them, else the
// version 1 tag's; without padding.
struct TagFields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString track;
    QString genre; // as shown; may be a name outside the genre list
    quint8 genreNumber = 255;

    bool operator==(const TagFields&) const = default;
};

// What to change; a field left empty (nullopt) keeps each file's own value. An empty text
// clears the field; genre 255 clears the genre.
struct TagChanges {
    std::optional<QString> title;
    std::optional<QString> artist;
    std::optional<QString> album;
    std::optional<QString> year;
    std::optional<QString> track;
    std::optional<quint8> genre;

    bool isEmpty() const { return !title && !artist && !album && !year && !track && !genre; }
};

// Everything needed to put an edited file back as it was, byte for byte: the bytes around its
// audio before the edit, and those after it (to see that nobody changed the file since).
struct TagUndo {
    QString path;
    QByteArray oldHead;
    QByteArray oldTail;
    QDateTime oldModified;
    QByteArray newHead;
    QByteArray newTail;
    qint64 audioSize = 0;
    QByteArray audioHash;
};

namespace TagEdit
{

// The genre list in number order: (number, name) for every number with a name.
QList<QPair<quint8, QString>> genreList();

// The number of a genre name of the list (ignoring case) or of a decimal number 0-255; -1 if
// neither.
int genreNumber(const QString& nameOrNumber);

// Why the changes cannot be written (a year that is not up to four digits, a track that is
// not "N" or "N/M"), or an empty text.
QString problem(const TagChanges& changes);

// Reads the fields of a file. Throws TagError when it cannot be read.
TagFields read(const QString& path);

// Writes the changes into the file. Throws TagError, with the file unchanged, when the file is
// not a writable regular file, its folder takes no new file, the disk is full, its tag holds
// what could not be written back (pictures, texts the code page cannot hold), or the audio
// would change.
TagUndo apply(const QString& path, const TagChanges& changes);

// Puts the file back as it was before the edit. Throws TagError, with the file unchanged, when
// the file was changed since or cannot be written.
void undo(const TagUndo& edit);

} // namespace TagEdit
